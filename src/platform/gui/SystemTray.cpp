#include "platform/gui/SystemTray.h"

#include "platform/gui/QtControls.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace tollivex::platform {

namespace {
// Used until an image is given, so the icon is never blank.
QIcon FallbackIcon()
{
    if (!QGuiApplication::windowIcon().isNull())
        return QGuiApplication::windowIcon();
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0x2b, 0x8a, 0xd8));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(0, 0, 16, 16);
    painter.setBrush(Qt::white);
    const QPointF arrow[] = {{5, 4}, {12, 8}, {5, 12}};
    painter.drawPolygon(arrow, 3);
    return QIcon(pixmap);
}
} // namespace

SystemTray::SystemTray(QWidget* /*window: the menu's owner is the window code's*/)
{
    icon_.setIcon(FallbackIcon());
    connect(&icon_, &QSystemTrayIcon::activated, this, &SystemTray::OnActivated);
}

void SystemTray::SetInTray(bool inTray)
{
    inTray_ = inTray;
    icon_.setVisible(inTray);
}

bool SystemTray::InTray() const { return inTray_; }

void SystemTray::SetTipText(const std::string& tip) { icon_.setToolTip(QString::fromStdString(tip)); }

void SystemTray::SetIconFile(const std::string& path)
{
    const QIcon image(QString::fromStdString(path));
    icon_.setIcon(path.empty() || image.isNull() ? FallbackIcon() : image);
}

bool SystemTray::Available() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

void SystemTray::SetMouseHandlers(std::function<void(int button)> mouseDown,
                                  std::function<void(int button)> doubleClick)
{
    mouseDown_ = std::move(mouseDown);
    doubleClick_ = std::move(doubleClick);
}

void SystemTray::OnActivated(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        if (mouseDown_)
            mouseDown_(1);
        break;
    case QSystemTrayIcon::Context:
        if (mouseDown_)
            mouseDown_(2);
        break;
    case QSystemTrayIcon::MiddleClick:
        if (mouseDown_)
            mouseDown_(3);
        break;
    case QSystemTrayIcon::DoubleClick:
        if (doubleClick_)
            doubleClick_(1);
        break;
    default: break;
    }
}

std::unique_ptr<TrayIcon> CreateTrayIcon(QWidget* window) { return std::make_unique<SystemTray>(window); }

} // namespace tollivex::platform
