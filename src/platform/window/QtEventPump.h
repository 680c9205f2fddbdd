#pragma once
// Qt's event loop as the core's event pump (platform/EventLoop.h): every
// program with a window installs it once, right after making its application
// object, so that long operations of the core keep the window alive.

namespace tollivex::platform {

/// Installs Qt's loop as the event pump. Harmless to call again; while no
/// application object exists the pump has nothing to run.
void InstallQtEventPump();

} // namespace tollivex::platform
