#include "platform/gui/WidgetWindowHost.h"

#include "platform/gui/DroppedLinks.h"
#include "platform/gui/QtControls.h"
#include "platform/window/DialogOwner.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
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
    UpdateFilter(false);
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

bool WidgetWindowHost::IsActive() const { return widget_ && widget_->isActiveWindow(); }

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
    wheel_ = std::move(handler);
    UpdateFilter(wheel_ || drop_);
}

void WidgetWindowHost::SetDropHandler(DropHandler handler)
{
    drop_ = std::move(handler);
    // Drags over a part that takes none (the list) reach the window itself.
    if (widget_)
        widget_->setAcceptDrops(static_cast<bool>(drop_));
    UpdateFilter(wheel_ || drop_);
}

void WidgetWindowHost::UpdateFilter(bool wanted)
{
    // Wheel and drag events go to the widget under the mouse (the movie or
    // the grid), not to the window, so the filter sits on the application and
    // keeps the events meant for this window and its children.
    if (wanted && !filtering_)
        qApp->installEventFilter(this);
    else if (!wanted && filtering_)
        qApp->removeEventFilter(this);
    filtering_ = wanted;
}

bool WidgetWindowHost::IsOwnWidget(QObject* watched) const
{
    if (!widget_ || !watched->isWidgetType())
        return false;
    auto* target = static_cast<QWidget*>(watched);
    return target == widget_ || widget_->isAncestorOf(target);
}

bool WidgetWindowHost::HandleDrag(QEvent* event)
{
    auto* drag = static_cast<QDropEvent*>(event);
    const QMimeData* mime = drag->mimeData();
    std::optional<std::string> uriList;
    std::optional<std::string> text;
    if (mime && mime->hasFormat(QStringLiteral("text/uri-list")))
        uriList = mime->data(QStringLiteral("text/uri-list")).toStdString();
    if (mime && mime->hasText())
        text = mime->text().toStdString();
    std::vector<std::string> addresses = DroppedAddresses(uriList, text);
    if (addresses.empty() || !drop_) {
        drag->setDropAction(Qt::IgnoreAction);
        drag->ignore();
        return true;
    }
    // The link is copied into the list: the source keeps it.
    if (drag->possibleActions() & Qt::CopyAction)
        drag->setDropAction(Qt::CopyAction);
    else
        drag->setDropAction(drag->proposedAction());
    drag->accept();
    if (event->type() == QEvent::Drop) {
        // Queued after the drop: the source is told at once that it was taken.
        QTimer::singleShot(0, this, [this, addresses = std::move(addresses)] {
            if (drop_)
                drop_(addresses);
        });
    }
    return true;
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
    const QEvent::Type type = event->type();
    if ((type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) && IsOwnWidget(watched))
        return HandleDrag(event);
    if (type != QEvent::Wheel || !wheel_ || !IsOwnWidget(watched))
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
