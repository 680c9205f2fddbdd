#pragma once
// Size texts and the character cuts of names and addresses.

#include <cstddef>
#include <string>

namespace tollivex {

/// A byte count as the size text of the FileSize and Status columns: Bytes,
/// KB, MB or GB (powers of 1024; a boundary belongs to the larger unit), one
/// decimal rounded half to even, shortest form, the locale's decimal
/// separator. 1 TB and more gives "".
std::string FormatFileSize(float bytes);

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
