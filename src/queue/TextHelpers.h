#pragma once
// Size texts and safe local file names.

#include <cstddef>
#include <string>

namespace tollivex {

/// A byte count as the size text of the FileSize and Status columns: Bytes,
/// KB, MB or GB (powers of 1024; a boundary belongs to the larger unit), one
/// decimal rounded half to even, shortest form, the locale's decimal
/// separator. 1 TB and more gives "".
std::string FormatFileSize(float bytes);

/// Removes \ / : * ? " < > | &, control characters (C0, DEL and C1) and the invisible
/// bidirectional and format characters (U+200B-U+200F, U+202A-U+202E,
/// U+2066-U+2069, U+FEFF), so the name shown is the name saved. A name left empty or
/// Bytes that are not UTF-8 become U+FFFD. A name left empty or
/// made only of dots and blanks (".", "..") becomes "Enter File Name", so the
/// result never leads out of the download folder. On Windows a reserved device
/// name (CON, NUL, COM1, ...) gets a "_" in front.
std::string CleanFileName(const std::string& value);

// Lengths of names and addresses count characters, not bytes: a cut never
// splits a UTF-8 character.

/// The number of UTF-8 characters in `text`.
size_t CharacterCount(const std::string& text);
/// The first `count` characters of `text` (all of it when it is shorter).
std::string FirstCharacters(const std::string& text, size_t count);
/// The longest start of `text` that has whole characters only and at most `maxBytes` bytes.
std::string FirstBytes(const std::string& text, size_t maxBytes);
/// The last `count` characters of `text` (all of it when it is shorter).
std::string LastCharacters(const std::string& text, size_t count);

} // namespace tollivex
