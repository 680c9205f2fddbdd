#pragma once
// How the run names a downloaded file and judges its size text. Pure text
// work, no window and no network: GetLocalFileInfo feeds it the component's
// answers.

#include <string>

namespace tollivex {

/// The local file name for a video link: the server's file name, or the
/// link's last path segment when the server sent none or the link names an
/// .flv/.wmv file itself; ".flv" appended for YouTube, DailyMotion and
/// ZippyVideos; cut to 100 characters (35 for YouTube) keeping the last four;
/// then cleaned, so it is always a plain name inside the download folder, and
/// cut to the 255 bytes a disk takes, keeping its extension.
std::string DeriveLocalFileName(const std::string& link, const std::string& remoteFileName, int siteCode);

/// The FileSize text for what the server said: the size text of the byte
/// count, or "0" when the file exists but no size was announced.
std::string SizeTextFor(float fileSize, bool fileExists);

/// True when a finished transfer cannot be "Complete" by its size text: the
/// first two characters read as -1 (a denied file with no size) or do not
/// read as a number at all. Read with the C rules, whatever the locale.
bool SizeTextMarksFailure(const std::string& sizeText);

} // namespace tollivex
