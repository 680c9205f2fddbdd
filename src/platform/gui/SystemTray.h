#pragma once
// The notification-area icon on QSystemTrayIcon. Mouse actions arrive as
// button numbers; the window code owns and pops up the menu.

#include "platform/gui/TrayIcon.h"

#include <QObject>
#include <QSystemTrayIcon>

namespace tollivex::platform {

class SystemTray final : public QObject, public TrayIcon {
public:
    explicit SystemTray(QWidget* window);

    void SetInTray(bool inTray) override;
    bool InTray() const override;
    void SetTipText(const std::string& tip) override;
    void SetIconFile(const std::string& path) override;
    bool Available() const override;
    void SetMouseHandlers(std::function<void(int button)> mouseDown,
                          std::function<void(int button)> doubleClick) override;

    QSystemTrayIcon& Icon() { return icon_; }

private:
    void OnActivated(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon icon_;
    bool inTray_ = false;
    std::function<void(int)> mouseDown_;
    std::function<void(int)> doubleClick_;
};

} // namespace tollivex::platform
