#pragma once
// The movie host on a QQuickWidget: the movie is a QML file whose root object
// carries the variables as properties ("_root.name" is the property "name")
// and sends commands through its signal fsCommand(command, args).

#include "platform/gui/MovieHost.h"

#include <QObject>
#include <QPointer>
#include <QQuickWidget>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class QKeyEvent;
class QQuickItem;

namespace tollivex::platform {

/// The player's own window. Reports its first painted frame where the
/// start-up benchmark asks for it (platform/window/seams).
class MovieWidget : public QQuickWidget {
public:
    explicit MovieWidget(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool reported_ = false;
};

class QuickMovieHost final : public QObject, public MovieHost {
    Q_OBJECT
public:
    using VariableObserver = std::function<void(const std::string& name, const std::string& value)>;

    explicit QuickMovieHost(QWidget* parent);
    ~QuickMovieHost() override;

    void LoadMovie(int layer, const std::string& path) override;
    std::string LoadFailure() const override;
    void SetVariable(const std::string& name, const std::string& value) override;
    std::string GetVariable(const std::string& name) const override;
    void SetCommandHandler(CommandHandler handler) override;
    void SetGeometry(int left, int top, int width, int height) override;
    void BringToFront() override;
    bool HasPlayerWindow() const override;
    void SuppressContextMenu(bool on) override;

    /// Sees every SetVariable call, in order (tests record the protocol).
    void SetVariableObserver(VariableObserver observer) { observer_ = std::move(observer); }
    /// The movie's root object (none before the movie is ready).
    QObject* Root() const;
    QQuickWidget* Widget() const { return widget_; }

    /// Called when Tab or Shift+Tab reaches the grid's place in the movie
    /// (its item "gridSlot"); returns false when there is nothing to enter,
    /// and the movie's focus then goes on past that place.
    void SetGridSlotHandler(std::function<bool()> enter) { enterGrid_ = std::move(enter); }
    /// Gives the movie the keyboard focus on the control after (next) or
    /// before the grid's place, as Tab or Shift+Tab out of the grid does.
    void FocusBesideGridSlot(bool next);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void OnCommand(const QString& command, const QString& args);

private:
    void OnStatusChanged(QQuickWidget::Status status);
    void Apply(QObject* root, const std::string& name, const std::string& value);
    /// A text box of the movie (or a part of one): it keeps its own editing menu.
    static bool IsTextBox(const QQuickItem* item);
    bool TextBoxAt(const QPointF& position) const;
    /// Tab or Shift+Tab onto the grid's place: enters the grid or goes past.
    bool TabPast(const QKeyEvent& key);

    QPointer<MovieWidget> widget_;
    CommandHandler handler_;
    VariableObserver observer_;
    std::function<bool()> enterGrid_;
    QPointer<QQuickItem> gridSlot_;
    /// Every variable written, latest value, in first-written order: applied
    /// whenever a root object becomes ready (also a recreated one).
    std::vector<std::pair<std::string, std::string>> variables_;
    std::string failure_;
    bool suppressing_ = false;
};

} // namespace tollivex::platform
