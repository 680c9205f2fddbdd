#pragma once
// Builds the real controls of a main window.

#include "shell/frmMain.h"

namespace tollivex {

/// The window, the movie, the grid, the tray icon, the mailbox and the
/// desktop notifier, Qt-backed.
FormControls CreateFormControls();

} // namespace tollivex
