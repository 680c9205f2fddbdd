#pragma once
// The desktop asking the program to end: a logout, a shutdown, `kill`. On
// POSIX systems the signals SIGTERM, SIGINT and SIGHUP; on Windows the
// window system's own end-session message reaches the window instead, so
// nothing is installed there.

#include <functional>

namespace tollivex::platform {

/// Calls `handler` on the window thread, from the event loop, when the
/// program is asked to end. Installed once; a later call replaces the handler.
void OnTerminationRequest(std::function<void()> handler);

} // namespace tollivex::platform
