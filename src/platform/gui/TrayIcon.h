#pragma once
// The notification-area icon. Its menu belongs to the window code, which pops
// it up from the button handler.

#include <functional>
#include <string>

namespace tollivex::platform {

class TrayIcon {
public:
    virtual ~TrayIcon() = default;

    /// Shows or hides the icon in the notification area.
    virtual void SetInTray(bool inTray) = 0;
    virtual bool InTray() const = 0;
    virtual void SetTipText(const std::string& tip) = 0;
    /// The icon image, from an image file ("" keeps the program's own icon).
    virtual void SetIconFile(const std::string& path) = 0;
    /// False where the desktop has no notification area.
    virtual bool Available() const = 0;
    /// Button numbers: 1 left, 2 right, 3 middle.
    virtual void SetMouseHandlers(std::function<void(int button)> mouseDown,
                                  std::function<void(int button)> doubleClick) = 0;
};

} // namespace tollivex::platform
