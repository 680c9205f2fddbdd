#pragma once
// Factories of the Qt-backed controls. Only window code (src/shell, src/grid)
// includes this header; the system's code sees the Qt-free contracts.

#include <memory>

class QWidget;

namespace tollivex::platform {

class MainWindowHost;
class MovieHost;
class GridControl;
struct GridColumns;
class TrayIcon;
class Mailbox;

/// The top-level window (hidden until shown).
std::unique_ptr<MainWindowHost> CreateMainWindowHost();
/// The window's widget, parent of the movie and the grid.
QWidget* HostWidget(MainWindowHost& window);
/// The movie host, a QQuickWidget child of `parent`.
std::unique_ptr<MovieHost> CreateMovieHost(QWidget* parent);
/// The grid of these columns, a QTableView child of `parent`.
std::unique_ptr<GridControl> CreateGridControl(QWidget* parent, const GridColumns& columns);
/// The notification-area icon; its menu is owned by the window code.
std::unique_ptr<TrayIcon> CreateTrayIcon(QWidget* window);
/// The watcher's mailbox, listening for deliveries.
std::unique_ptr<Mailbox> CreateMailbox();

} // namespace tollivex::platform
