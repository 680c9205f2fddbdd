#pragma once
// For benchmarks on a real main window: the program's main of such a
// benchmark (WindowBenchMain.cpp) makes the application object, offscreen
// unless QT_QPA_PLATFORM says otherwise, and ends the window before it.

#include "shell/frmMain.h"

namespace tollivex::bench {

/// The one main window of the benchmark program, made on first use.
frmMain& Window();

/// Replaces the queue with `items` downloads whose statuses are percentages
/// 0..100 (so every status cell is a bar); the list is not rebuilt.
void QueueDownloadsInProgress(int items);

} // namespace tollivex::bench
