#pragma once
// The window part's test seams, beside the core's (platform/seams/TestSeams.h):
// only in builds that link the seams libraries, never in the shipped program.
// The README's "Test seams" lists every seam and who links it.

#include "platform/window/MessageBox.h"

#include <functional>
#include <string>

namespace tollivex::platform {

/// Answers every message box instead of the user, so no box is shown; an
/// empty answerer restores the real box.
void SetMessageAnswerer(MessageAnswerer answerer);

/// Takes every ShellOpen request instead of the desktop, its answer being the
/// outcome; an empty observer lets the desktop open again.
void SetShellOpenObserver(std::function<bool(const std::string& fileOrAddress)> observer);

/// Makes `folder` the only runtime folder RuntimeFolder() may give: none
/// when it is not private to the user. "" restores the search. Programs the
/// test starts (the watcher) find the same folder through XDG_RUNTIME_DIR.
void SetRuntimeFolder(const std::string& folder);

} // namespace tollivex::platform
