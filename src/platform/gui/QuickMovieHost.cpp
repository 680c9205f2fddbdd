#include "platform/gui/QuickMovieHost.h"

#include "platform/gui/QtControls.h"
#include "platform/window/seams/WindowSeamHooks.h"

#include <QContextMenuEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QQmlError>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickWindow>

#include <cstdio>
#include <utility>

namespace tollivex::platform {

namespace {
const std::string kRootPrefix = "_root.";

QString PropertyName(const std::string& variable)
{
    if (variable.compare(0, kRootPrefix.size(), kRootPrefix) == 0)
        return QString::fromStdString(variable.substr(kRootPrefix.size()));
    return QString::fromStdString(variable);
}

/// Sees the key presses of the movie's window before it does; a press the
/// function takes goes no further.
class KeyFilter final : public QObject {
public:
    KeyFilter(QObject* parent, std::function<bool(const QKeyEvent&)> take) : QObject(parent), take_(std::move(take)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        return event->type() == QEvent::KeyPress && take_(*static_cast<QKeyEvent*>(event));
    }

private:
    std::function<bool(const QKeyEvent&)> take_;
};
} // namespace

MovieWidget::MovieWidget(QWidget* parent) : QQuickWidget(parent) {}

void MovieWidget::paintEvent(QPaintEvent* event)
{
    QQuickWidget::paintEvent(event);
    if (reported_ || !rootObject())
        return;
    reported_ = true;
    if (seams::ReportFirstFrame()) {
        std::printf("first-frame %lld\n", static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
        std::fflush(stdout);
    }
}

QuickMovieHost::QuickMovieHost(QWidget* parent) : widget_(new MovieWidget(parent))
{
    widget_->setResizeMode(QQuickWidget::SizeRootObjectToView);
    widget_->setFocusPolicy(Qt::StrongFocus);
    widget_->setClearColor(QColor(0x1b, 0x2a, 0x3a));
    connect(widget_, &QQuickWidget::statusChanged, this, &QuickMovieHost::OnStatusChanged);
    // Tab is looked at before the scene moves its focus, so that the grid's
    // place in the movie's Tab order can hand the focus on to the grid.
    widget_->installEventFilter(new KeyFilter(widget_, [this](const QKeyEvent& key) { return TabPast(key); }));
}

QuickMovieHost::~QuickMovieHost()
{
    if (widget_) {
        widget_->removeEventFilter(this);
        delete widget_.data();
    }
}

void QuickMovieHost::LoadMovie(int /*layer: one movie only*/, const std::string& path)
{
    if (!widget_)
        return;
    failure_.clear();
    const QString file = QString::fromStdString(path);
    if (!QFileInfo(file).isFile()) {
        failure_ = "The file " + path + " was not found.";
        return;
    }
    widget_->setSource(QUrl::fromLocalFile(file));
    if (widget_->status() == QQuickWidget::Error || (widget_->status() == QQuickWidget::Ready && !Root()))
        OnStatusChanged(QQuickWidget::Error);
}

std::string QuickMovieHost::LoadFailure() const { return failure_; }

QObject* QuickMovieHost::Root() const { return widget_ ? widget_->rootObject() : nullptr; }

void QuickMovieHost::OnStatusChanged(QQuickWidget::Status status)
{
    if (!widget_)
        return;
    if (status == QQuickWidget::Error || (status == QQuickWidget::Ready && !Root())) {
        std::string text;
        for (const QQmlError& error : widget_->errors())
            text += (text.empty() ? "" : "\n") + error.toString().toStdString();
        failure_ = text.empty() ? std::string("The movie has no content.") : text;
        return;
    }
    if (status != QQuickWidget::Ready)
        return;
    QObject* root = Root();
    // A root object can be made again (a widget shown the first time under
    // OpenGL): connect here each time it is ready, never twice to one root.
    const int signal = root->metaObject()->indexOfSignal("fsCommand(QString,QString)");
    if (signal < 0) {
        failure_ = "The movie has no command signal fsCommand(string command, string args).";
        return;
    }
    failure_.clear();
    gridSlot_ = root->findChild<QQuickItem*>("gridSlot");
    connect(root, SIGNAL(fsCommand(QString, QString)), this, SLOT(OnCommand(QString, QString)), Qt::UniqueConnection);
    for (const auto& [name, value] : variables_)
        Apply(root, name, value);
}

void QuickMovieHost::OnCommand(const QString& command, const QString& args)
{
    if (handler_)
        handler_(command.toStdString(), args.toStdString());
}

void QuickMovieHost::Apply(QObject* root, const std::string& name, const std::string& value)
{
    const QString property = PropertyName(name);
    const QString text = QString::fromStdString(value);
    QQmlProperty declared(root, property);
    if (declared.isValid() && declared.isWritable())
        declared.write(text);
    else
        // A variable the movie does not declare still holds its text, as a
        // movie variable would.
        root->setProperty(property.toUtf8().constData(), text);
}

void QuickMovieHost::SetVariable(const std::string& name, const std::string& value)
{
    if (observer_)
        observer_(name, value);
    bool known = false;
    for (auto& entry : variables_) {
        if (entry.first == name) {
            entry.second = value;
            known = true;
            break;
        }
    }
    if (!known)
        variables_.emplace_back(name, value);
    if (QObject* root = Root(); root && widget_->status() == QQuickWidget::Ready)
        Apply(root, name, value);
}

std::string QuickMovieHost::GetVariable(const std::string& name) const
{
    if (QObject* root = Root()) {
        const QVariant value = QQmlProperty::read(root, PropertyName(name));
        if (value.isValid())
            return value.toString().toStdString();
        const QVariant dynamic = root->property(PropertyName(name).toUtf8().constData());
        if (dynamic.isValid())
            return dynamic.toString().toStdString();
    }
    for (const auto& entry : variables_)
        if (entry.first == name)
            return entry.second;
    return {};
}

void QuickMovieHost::SetCommandHandler(CommandHandler handler) { handler_ = std::move(handler); }

void QuickMovieHost::SetGeometry(int left, int top, int width, int height)
{
    if (widget_)
        widget_->setGeometry(left, top, width, height);
}

void QuickMovieHost::BringToFront()
{
    if (widget_)
        widget_->raise();
}

bool QuickMovieHost::HasPlayerWindow() const { return widget_ && widget_->parentWidget(); }

void QuickMovieHost::SuppressContextMenu(bool on)
{
    if (!widget_ || on == suppressing_)
        return;
    suppressing_ = on;
    if (on)
        widget_->installEventFilter(this);
    else
        widget_->removeEventFilter(this);
}

bool QuickMovieHost::IsTextBox(const QQuickItem* item)
{
    for (; item; item = item->parentItem())
        if (item->inherits("QQuickTextInput"))
            return true;
    return false;
}

bool QuickMovieHost::TextBoxAt(const QPointF& position) const
{
    QQuickItem* item = widget_ ? widget_->rootObject() : nullptr;
    // The topmost item under the point, down to the leaves.
    for (QQuickItem* child = item; child;) {
        item = child;
        child = item->childAt(item->mapFromScene(position).x(), item->mapFromScene(position).y());
    }
    return IsTextBox(item);
}

bool QuickMovieHost::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != widget_)
        return false;
    // The player's menu never opens; the address box keeps its editing menu.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        return mouse->button() == Qt::RightButton && !TextBoxAt(mouse->position());
    }
    case QEvent::ContextMenu: return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return static_cast<QKeyEvent*>(event)->key() == Qt::Key_Menu &&
               !IsTextBox(widget_->quickWindow()->activeFocusItem());
    default: return false;
    }
}

bool QuickMovieHost::TabPast(const QKeyEvent& key)
{
    const bool tab = key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab;
    if (!tab || (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) || !gridSlot_ || !widget_)
        return false;
    QQuickItem* focused = widget_->quickWindow()->activeFocusItem();
    const bool next = key.key() == Qt::Key_Tab && !(key.modifiers() & Qt::ShiftModifier);
    if (!focused || focused == gridSlot_ || focused->nextItemInFocusChain(next) != gridSlot_)
        return false;
    // The grid's place is next: the grid takes the focus, and the scene
    // keeps its own on this control for when the movie has the focus again.
    if (enterGrid_ && enterGrid_())
        return true;
    // Nothing to enter: on past the grid's place.
    QQuickItem* past = gridSlot_->nextItemInFocusChain(next);
    if (!past || past == gridSlot_)
        return false;
    past->forceActiveFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void QuickMovieHost::FocusBesideGridSlot(bool next)
{
    if (!widget_)
        return;
    const Qt::FocusReason reason = next ? Qt::TabFocusReason : Qt::BacktabFocusReason;
    // The scene's focus moves first, so the movie's focus-in lands there
    // and never on the grid's place.
    if (QQuickItem* beside = gridSlot_ ? gridSlot_->nextItemInFocusChain(next) : nullptr; beside && beside != gridSlot_)
        beside->forceActiveFocus(reason);
    widget_->setFocus(reason);
}

std::unique_ptr<MovieHost> CreateMovieHost(QWidget* parent) { return std::make_unique<QuickMovieHost>(parent); }

} // namespace tollivex::platform
