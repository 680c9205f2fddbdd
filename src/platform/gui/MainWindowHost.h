#pragma once
// The main window itself: a frameless top-level window that hosts the movie
// and the grid, and the few window-system requests the program makes of it.

#include <functional>
#include <string>

namespace tollivex::platform {

class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;

    virtual void SetCaption(const std::string& caption) = 0;
    /// Size in device-independent pixels.
    virtual void SetSize(int width, int height) = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual void Minimize() = 0;
    virtual bool IsVisible() const = 0;
    virtual bool IsMinimized() const = 0;
    /// Lets the user move the window with the mouse, as if by its title bar.
    virtual void StartSystemMove() = 0;
    virtual void BringToForeground() = 0;
    /// Called when the window system asks the window to close.
    virtual void SetCloseRequestHandler(std::function<void()> handler) = 0;
};

} // namespace tollivex::platform
