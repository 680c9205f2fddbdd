#pragma once
// Every rule a local file name follows, in one place: the cleaning, the cuts
// to the list's column and to the disk, the name derived from a link, the
// temporary name, the names beside a taken one, and when two names are the
// same file. Pure text work: VideoFile.h holds the names against the disk.

#include "platform/FileSystem.h"

#include <cstddef>
#include <string>

namespace tollivex {

/// Removes \ / : * ? " < > | &, control characters (C0, DEL and C1) and the invisible
/// bidirectional and format characters (U+200B-U+200F, U+202A-U+202E,
/// U+2066-U+2069, U+FEFF), so the name shown is the name saved. Bytes that are
/// not UTF-8 become U+FFFD. A name left empty or made only of dots and blanks
/// (".", "..") becomes "Enter File Name", so the result never leads out of the
/// download folder. On Windows a reserved device name (CON, NUL, COM1, ...)
/// gets a "_" in front.
std::string CleanFileName(const std::string& value);

/// The FileName column holds this many characters.
inline constexpr std::size_t kFileNameColumnLength = 100;

/// The name cut to `limit` characters (UTF-8 aware), keeping its extension
/// when the extension is short enough to leave a name in front of it.
std::string FitFileNameColumn(const std::string& name, std::size_t limit = kFileNameColumnLength);

/// `name` cut to `maxBytes` bytes on a character boundary, keeping a short extension.
std::string FitNameBytes(const std::string& name, std::size_t maxBytes = platform::kMaxNameBytes);

/// The local file name for a video link: the server's file name, or the
/// link's last path segment when the server sent none or the link names an
/// .flv/.wmv file itself; ".flv" appended for YouTube, DailyMotion and
/// ZippyVideos; cut to 100 characters (35 for YouTube) keeping the last four;
/// then cleaned, so it is always a plain name inside the download folder, and
/// cut to the 255 bytes a disk takes, keeping its extension.
std::string DeriveLocalFileName(const std::string& link, const std::string& remoteFileName, int siteCode);

/// The suffix of a video that is still being written (or was left unfinished).
inline constexpr char kPartSuffix[] = ".part";

/// Temporary name `number` for the final `name`: "<name>.part" for 0, then
/// "<name>.1.part", "<name>.2.part", ...; the name is cut so that it always fits the disk.
std::string PartNameFor(const std::string& name, int number);

/// Publication name `number` for `name`: the name itself for 1, then
/// "stem (2).ext", "stem (3).ext", ..., each fitting the disk and the list's column.
std::string NameBeside(const std::string& name, int number);

/// Whether two local names denote the same file in one folder: without regard
/// to letter case on Windows, exactly elsewhere.
bool SameLocalFile(const std::string& a, const std::string& b);

/// True when a queued item other than the one at `exceptIndex` is saved under
/// `name` (items that still carry a placeholder name are not saved yet).
bool FileNameTakenInQueue(const std::string& name, int exceptIndex);

} // namespace tollivex
