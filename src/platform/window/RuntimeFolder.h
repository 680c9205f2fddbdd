#pragma once
// The per-user folder of the program's sockets and lock files (the clipboard
// watcher's mailbox and control names, the running instance's name). Another
// user who could create names in it could take ours first, so it must be the
// user's alone.

#include <QString>

#include <optional>

namespace tollivex::platform {

/// The longest name the program gives a socket in the folder ("tollivex-
/// mailbox-" and a 20-digit identity), with the "/" before it.
inline constexpr int kLongestSocketName = 38;

/// The first folder that is private to the user: the one a test chose when it
/// chose one (nothing else is tried then; platform/window/seams), else
/// the user's runtime folder (XDG_RUNTIME_DIR), else one the program makes for
/// the user alone in the user's cache folder (Harrowmere/Tollivex/run-<host>,
/// the host because a home may be shared by several machines), else
/// "tollivex-<user id>" in the temporary folder. Private means, on Unix: a
/// real folder (not a link), owned by the user, closed to everybody else (no
/// group or other rights).
///
/// A socket's path holds at most 107 bytes. A runtime folder too long for the
/// program's sockets is passed over; a cache folder that is too long gets a
/// short private folder beside it, made under a random name in the temporary
/// folder and found again through a link in the cache folder. None when no
/// private folder can be had.
std::optional<QString> RuntimeFolder();

} // namespace tollivex::platform
