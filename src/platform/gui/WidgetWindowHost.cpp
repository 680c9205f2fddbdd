#include "platform/gui/WidgetWindowHost.h"

#include "platform/DialogOwner.h"
#include "platform/gui/QtControls.h"

#include <QApplication>
#include <QCloseEvent>
#include <QWheelEvent>
#include <QWindow>

namespace tollivex::platform {

MainWindowWidget::MainWindowWidget()
{
    // The movie draws the title bar, the minimise, tray and close buttons.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void MainWindowWidget::closeEvent(QCloseEvent* event)
{
    if (closing || !onCloseRequest) {
        event->accept();
        return;
    }
    // The program decides: it ends in order (watcher told, run stopped) and
    // then lets the window go.
    event->ignore();
    onCloseRequest();
}

WidgetWindowHost::WidgetWindowHost() : widget_(new MainWindowWidget) { SetDialogOwner(widget_); }

WidgetWindowHost::~WidgetWindowHost()
{
    if (wheel_)
        qApp->removeEventFilter(this);
    if (widget_) {
        widget_->closing = true;
        delete widget_.data();
    }
}

void WidgetWindowHost::SetCaption(const std::string& caption)
{
    if (widget_)
        widget_->setWindowTitle(QString::fromStdString(caption));
}

void WidgetWindowHost::SetSize(int width, int height)
{
    if (widget_)
        widget_->setFixedSize(width, height);
}

void WidgetWindowHost::Show()
{
    if (!widget_)
        return;
    if (widget_->isMinimized())
        widget_->showNormal();
    else
        widget_->show();
}

void WidgetWindowHost::Hide()
{
    if (widget_)
        widget_->hide();
}

void WidgetWindowHost::Minimize()
{
    if (widget_)
        widget_->showMinimized();
}

bool WidgetWindowHost::IsVisible() const { return widget_ && widget_->isVisible(); }

bool WidgetWindowHost::IsMinimized() const { return widget_ && widget_->isMinimized(); }

void WidgetWindowHost::StartSystemMove()
{
    if (widget_ && widget_->windowHandle())
        widget_->windowHandle()->startSystemMove();
}

void WidgetWindowHost::BringToForeground()
{
    if (!widget_)
        return;
    widget_->raise();
    widget_->activateWindow();
}

void WidgetWindowHost::SetCloseRequestHandler(std::function<void()> handler)
{
    if (widget_)
        widget_->onCloseRequest = std::move(handler);
}

void WidgetWindowHost::SetWheelHandler(WheelHandler handler)
{
    // Wheel events go to the widget under the mouse (the movie or the grid),
    // not to the window, so the filter sits on the application and keeps the
    // events meant for this window and its children.
    if (handler && !wheel_)
        qApp->installEventFilter(this);
    else if (!handler && wheel_)
        qApp->removeEventFilter(this);
    wheel_ = std::move(handler);
}

void WidgetWindowHost::EndProgram()
{
    if (widget_) {
        widget_->closing = true;
        widget_->hide();
    }
    QCoreApplication::exit(0);
}

bool WidgetWindowHost::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Wheel || !wheel_ || !widget_ || !watched->isWidgetType())
        return false;
    auto* target = static_cast<QWidget*>(watched);
    if (target != widget_ && !widget_->isAncestorOf(target))
        return false;
    const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
    // Touchpads send begin and end phases without distance: not a notch.
    if (delta == 0)
        return false;
    // Taken notches are swallowed: the grid would otherwise scroll three rows
    // by itself on top of the one row the handler moved.
    return wheel_(delta);
}

std::unique_ptr<MainWindowHost> CreateMainWindowHost() { return std::make_unique<WidgetWindowHost>(); }

QWidget* HostWidget(MainWindowHost& window)
{
    auto* host = dynamic_cast<WidgetWindowHost*>(&window);
    return host ? host->Widget() : nullptr;
}

} // namespace tollivex::platform
