#pragma once
// How a video reaches its final name: it is written as "<final name>.part",
// judged whole, and only then renamed over the final name in one step, so an
// older file of that name stays whole until the new one is, and a partial
// file never carries a video's name, not even after a kill. Also which final
// names the program has given out, so that no download ever replaces the
// finished video of another item. Windowless.

#include <cstdint>
#include <string>

namespace tollivex {

/// The suffix of a video that is still being written (or was left unfinished).
inline constexpr char kPartSuffix[] = ".part";

/// The path a video is written under until it is complete.
std::string PartPathFor(const std::string& finalPath);

/// True when the bytes received are the whole video the information request
/// announced: equal to its size when it gave one above 0.
bool ReceivedWhatWasAnnounced(std::int64_t bytesReceived, double announcedSize);

/// Notes that this program published `finalPath` for the item of `pageAddress`
/// (remembered for the program's life).
void NotePublished(const std::string& finalPath, const std::string& pageAddress);

/// The page address of the item that published `finalPath`, "" when no item did.
std::string PublishedBy(const std::string& finalPath);

/// The path last published for the item of `pageAddress`, "" when none was.
std::string PublishedFor(const std::string& pageAddress);

/// Forgets every published path (tests start afresh).
void ForgetPublished();

/// The name the item at `index` (page address `pageAddress`) is saved under in
/// `folder`: `name`, unless this program published that file for another item
/// - whatever the list calls the items now, since a rename in the list never
/// renames a file. Then the first of "stem (2).ext", "stem (3).ext", ... that
/// no other item published and no other queued item is named. A file that no
/// item published (one from before) is kept as the name: a verified download
/// replaces it.
std::string NameBesidePublished(const std::string& folder, const std::string& name, const std::string& pageAddress,
                                int index);

} // namespace tollivex
