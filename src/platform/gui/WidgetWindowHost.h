#pragma once
// The main window on a QWidget: a frameless top-level window that asks before
// it closes (the close request goes to the program, which ends in order) and
// carries the wheel and drop filter placed in front of it and its children.

#include "platform/gui/MainWindowHost.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace tollivex::platform {

/// The window's widget: a close by the window system becomes a close request.
class MainWindowWidget : public QWidget {
public:
    MainWindowWidget();
    std::function<void()> onCloseRequest;
    /// Set once the program is ending: the close is then let through.
    bool closing = false;

protected:
    void closeEvent(QCloseEvent* event) override;
};

class WidgetWindowHost final : public QObject, public MainWindowHost {
public:
    WidgetWindowHost();
    ~WidgetWindowHost() override;

    void SetCaption(const std::string& caption) override;
    void SetSize(int width, int height) override;
    void Show() override;
    void Hide() override;
    void Minimize() override;
    bool IsVisible() const override;
    bool IsMinimized() const override;
    bool IsActive() const override;
    void StartSystemMove() override;
    void BringToForeground() override;
    void SetCloseRequestHandler(std::function<void()> handler) override;
    void SetWheelHandler(WheelHandler handler) override;
    void SetDropHandler(DropHandler handler) override;
    void EndProgram() override;

    QWidget* Widget() const { return widget_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The filter on the application is in place while a handler needs it.
    void UpdateFilter(bool wanted);
    bool IsOwnWidget(QObject* watched) const;
    bool HandleDrag(QEvent* event);

    QPointer<MainWindowWidget> widget_;
    WheelHandler wheel_;
    DropHandler drop_;
    bool filtering_ = false;
};

} // namespace tollivex::platform
