#pragma once
// What the platform's window part asks its test seams; as for the core's
// (platform/seams/SeamHooks.h), the program links answers that change
// nothing (WindowNoSeams.cpp), the tests link the ones they set
// (WindowTestSeams.cpp). Only the window part's own sources include this header.

#include "platform/window/MessageBox.h"

#include <functional>
#include <string>

namespace tollivex::platform::seams {

/// Answers message boxes instead of the user; empty: the real box asks.
MessageAnswerer Answerer();

/// Takes ShellOpen requests instead of the desktop; empty: the desktop opens.
std::function<bool(const std::string& fileOrAddress)> ShellOpenObserver();

/// The only folder RuntimeFolder() may give ("" for its own search): none
/// when it is not private.
std::string RuntimeFolder();

/// True when the movie's first painted frame is to be reported on the
/// standard output ("first-frame <milliseconds since the epoch>").
bool ReportFirstFrame();

} // namespace tollivex::platform::seams
