#pragma once
// The main window itself: a frameless top-level window that hosts the movie
// and the grid, and the few window-system requests the program makes of it.

#include <functional>
#include <string>
#include <vector>

namespace tollivex::platform {

class MainWindowHost {
public:
    /// Receives one wheel notch: the signed distance (positive away from the
    /// user). Returns true when it acted on it, so nothing else scrolls too.
    using WheelHandler = std::function<bool(int delta)>;

    virtual ~MainWindowHost() = default;

    virtual void SetCaption(const std::string& caption) = 0;
    /// Size in device-independent pixels.
    virtual void SetSize(int width, int height) = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual void Minimize() = 0;
    virtual bool IsVisible() const = 0;
    virtual bool IsMinimized() const = 0;
    /// True while the window is the one the desktop gives the keyboard to.
    virtual bool IsActive() const = 0;
    /// Lets the user move the window with the mouse, as if by its title bar.
    virtual void StartSystemMove() = 0;
    virtual void BringToForeground() = 0;
    /// Called when the window system asks the window to close.
    virtual void SetCloseRequestHandler(std::function<void()> handler) = 0;

    /// Puts a wheel filter in front of the window and everything on it; an
    /// empty handler removes it. Wheel turns the handler does not take go on
    /// unchanged.
    virtual void SetWheelHandler(WheelHandler handler) = 0;

    /// Receives the page addresses of a drop of links or text onto the window
    /// or anything on it, in order, after the drop itself has ended. Drops of
    /// anything else (files, images) are refused, and the pointer shows it
    /// while it is over the window. An empty handler refuses every drop.
    using DropHandler = std::function<void(const std::vector<std::string>& addresses)>;
    virtual void SetDropHandler(DropHandler handler) = 0;

    /// Ends the program: the window goes away and the event loop returns as
    /// soon as the code that is running now has returned to it.
    virtual void EndProgram() = 0;
};

} // namespace tollivex::platform
