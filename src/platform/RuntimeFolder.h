#pragma once
// The per-user folder of the program's sockets and lock files (the clipboard
// watcher's mailbox and control names, the running instance's name). Another
// user who could create names in it could take ours first, so it must be the
// user's alone.

#include <QString>

#include <optional>

namespace tollivex::platform {

/// The first folder that is private to the user: TOLLIVEX_RUNTIME_DIR when set
/// (tests keep their programs apart with it; nothing else is tried then), else
/// the user's runtime folder (XDG_RUNTIME_DIR), else "tollivex-<user id>" in the
/// temporary folder, created for the user. Private means, on Unix: a real
/// folder (not a link), owned by the user, closed to everybody else (no group
/// or other rights). None when no such folder can be had.
std::optional<QString> RuntimeFolder();

} // namespace tollivex::platform
