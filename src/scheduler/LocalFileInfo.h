#pragma once
// How the run judges the size text of a downloaded file. Pure text work, no
// window and no network: GetLocalFileInfo feeds it the component's answers.
// The file's name is FileNames.h's DeriveLocalFileName.

#include <string>

namespace tollivex {

/// What GetLocalFileInfo finds for a video link: the local file name and the
/// FileSize text.
struct LocalFileInfo {
    std::string fileName;
    std::string sizeText;
};

/// The FileSize text for what the server said: the size text of the byte
/// count, or "0" when the file exists but no size was announced.
std::string SizeTextFor(float fileSize, bool fileExists);

/// True when a finished transfer cannot be "Complete" by its size text: the
/// first two characters read as -1 (a denied file with no size) or do not
/// read as a number at all. Read with the C rules, whatever the locale.
bool SizeTextMarksFailure(const std::string& sizeText);

} // namespace tollivex
