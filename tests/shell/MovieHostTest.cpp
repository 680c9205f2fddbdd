// The movie host with the program's own movie: variables, commands, failures.
#include "platform/gui/QtControls.h"
#include "platform/gui/QuickMovieHost.h"
#include "support/SeenInput.h"
#include "support/TempFolder.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMetaObject>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

using tollivex::platform::QuickMovieHost;

namespace {
std::string MoviePath() { return std::string(std::getenv("TOLLIVEX_SOURCE_DIR")) + "/assets/Main.qml"; }

void Emit(QuickMovieHost& host, const char* command)
{
    QMetaObject::invokeMethod(host.Root(), "fsCommand", Q_ARG(QString, QString(command)), Q_ARG(QString, QString()));
}
} // namespace

TEST(MovieHost, ProgramMovieTakesVariablesAndSendsCommandsOnce)
{
    QWidget window;
    QuickMovieHost host(&window);
    std::vector<std::pair<std::string, std::string>> written;
    host.SetVariableObserver([&](const std::string& n, const std::string& v) { written.emplace_back(n, v); });
    std::vector<std::string> commands;
    host.SetCommandHandler([&](const std::string& c, const std::string&) { commands.push_back(c); });

    // Written before the movie exists: kept and applied once it is ready.
    host.SetVariable("_root.aboutTxt", "Version 1.0.0.4\r\nabout");
    host.LoadMovie(0, MoviePath());
    ASSERT_EQ(host.LoadFailure(), "");
    ASSERT_NE(host.Root(), nullptr);
    EXPECT_EQ(host.Root()->property("aboutTxt").toString().toStdString(), "Version 1.0.0.4\r\nabout");

    host.SetVariable("_root.download_dir", "/tmp/videos");
    host.SetVariable("_root.startDownload", "0");
    EXPECT_EQ(host.GetVariable("_root.download_dir"), "/tmp/videos");
    EXPECT_EQ(host.GetVariable("_root.startDownload"), "0");
    // A variable the movie does not declare still holds its text.
    host.SetVariable("_root.undeclared", "x");
    EXPECT_EQ(host.GetVariable("_root.undeclared"), "x");
    ASSERT_EQ(written.size(), 4u);
    EXPECT_EQ(written[1].first, "_root.download_dir");

    // What the user typed is read back.
    host.Root()->setProperty("video_url", QString(" http://a.example/v "));
    EXPECT_EQ(host.GetVariable("_root.video_url"), " http://a.example/v ");

    window.resize(639, 535);
    host.SetGeometry(0, 0, 639, 535);
    window.show();
    QApplication::processEvents();
    Emit(host, "IDC_FS_Close");
    // The movie announces its first page by itself shortly after it starts.
    EXPECT_TRUE(QTest::qWaitFor([&] { return commands.size() >= 3; }, 3000));
    QTest::qWait(100);
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "IDC_FS_Close"), 1);
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "IDC_FS_Download"), 1);
    EXPECT_TRUE(host.HasPlayerWindow());
}

TEST(MovieHost, MissingOrBrokenMovieIsReported)
{
    tollivex::test::TempFolder folder;
    QWidget window;
    QuickMovieHost missing(&window);
    missing.LoadMovie(0, folder.File("Main.qml"));
    EXPECT_NE(missing.LoadFailure().find("was not found"), std::string::npos);

    QuickMovieHost broken(&window);
    broken.LoadMovie(0, folder.Write("Broken.qml", "import QtQuick\nRectangle { width: \n"));
    EXPECT_FALSE(broken.LoadFailure().empty());

    QuickMovieHost silent(&window);
    silent.LoadMovie(0, folder.Write("Silent.qml", "import QtQuick\nRectangle { width: 10; height: 10 }\n"));
    EXPECT_NE(silent.LoadFailure().find("fsCommand"), std::string::npos);
}

TEST(MovieHost, ContextMenuKeyAndRightButtonAreSwallowedOnlyWhileSuppressed)
{
    QWidget window;
    QuickMovieHost host(&window);
    host.LoadMovie(0, MoviePath());
    QWidget* player = host.Widget();

    // An observer behind the host's filter sees what reaches the movie.
    tollivex::test::SeenInput seen;
    player->installEventFilter(&seen);
    host.SuppressContextMenu(true); // installed later, so it runs first

    auto press = [&](int key) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(player, &e);
    };
    auto rightClick = [&] {
        QMouseEvent e(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
        QApplication::sendEvent(player, &e);
    };
    press(Qt::Key_Menu);
    press(Qt::Key_A);
    rightClick();
    EXPECT_EQ(seen.keys, std::vector<int>{Qt::Key_A});
    EXPECT_EQ(seen.rightPresses, 0);

    host.SuppressContextMenu(false);
    press(Qt::Key_Menu);
    rightClick();
    EXPECT_EQ(seen.keys, (std::vector<int>{Qt::Key_A, Qt::Key_Menu}));
    EXPECT_EQ(seen.rightPresses, 1);

    // The address box keeps its editing menu while the player's is suppressed:
    // the right button over it, and the menu key while it has the keyboard.
    host.SuppressContextMenu(true);
    window.resize(639, 535);
    host.SetGeometry(0, 0, 639, 535);
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.Root()->property("page").toString() == "Download"; }, 3000));
    auto* menu = host.Root()->findChild<QObject*>("editMenu");
    ASSERT_NE(menu, nullptr);
    QTest::mouseClick(player, Qt::RightButton, Qt::NoModifier, QPoint(250, 141));
    EXPECT_EQ(seen.rightPresses, 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return menu->property("opened").toBool(); }, 2000));
    QMetaObject::invokeMethod(menu, "close");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !menu->property("visible").toBool(); }, 2000));
    press(Qt::Key_Menu);
    EXPECT_TRUE(QTest::qWaitFor([&] { return menu->property("opened").toBool(); }, 2000));
}

TEST(MovieHost, RunBadgeOnTheAboutPageFollowsEveryRunStartedThere)
{
    QWidget window;
    QuickMovieHost host(&window);
    host.LoadMovie(0, MoviePath());
    ASSERT_NE(host.Root(), nullptr);
    QObject* badge = host.Root()->findChild<QObject*>("aboutBadge");
    ASSERT_NE(badge, nullptr);
    auto shown = [&] { return badge->property("visible").toBool(); };

    // Two runs started while the About page is up: the program writes the
    // same "1" at each start, and the badge comes up both times.
    host.Root()->setProperty("page", QString("About"));
    for (int run = 1; run <= 2; ++run) {
        host.SetVariable("_root.downloadBtn", "0");
        host.SetVariable("_root.downloadBtnTab", "1");
        EXPECT_TRUE(shown()) << "run " << run;
        host.SetVariable("_root.downloadBtn", "1"); // the run ends
        EXPECT_FALSE(shown()) << "run " << run;
    }

    // A run started from the Download page: nothing to show on About.
    host.Root()->setProperty("page", QString("Download"));
    host.SetVariable("_root.downloadBtn", "0");
    host.Root()->setProperty("page", QString("About"));
    EXPECT_FALSE(shown());
}

TEST(MovieHost, EveryControlIsReachedWithTabAndWorksFromTheKeyboard)
{
    QWidget window;
    QuickMovieHost host(&window);
    std::vector<std::string> commands;
    host.SetCommandHandler([&](const std::string& c, const std::string&) { commands.push_back(c); });
    host.LoadMovie(0, MoviePath());
    ASSERT_NE(host.Root(), nullptr);
    window.resize(639, 535);
    host.SetGeometry(0, 0, 639, 535);
    window.show();
    window.activateWindow();
    host.Widget()->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.Root()->property("page").toString() == "Download"; }, 3000));
    host.SetVariable("_root.downloadBtn", "0"); // a run is on, so stop can be pressed too
    QQuickWindow* scene = host.Widget()->quickWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return scene->activeFocusItem() != nullptr; }, 3000));

    // Enter in the address box adds what was typed.
    QTest::keyClicks(host.Widget(), "http://a.example/v");
    commands.clear();
    QTest::keyClick(host.Widget(), Qt::Key_Return);
    EXPECT_EQ(commands, std::vector<std::string>{"IDC_FS_addDownloadURL"});
    EXPECT_EQ(host.GetVariable("_root.video_url"), "http://a.example/v");

    // Tab walks every control once and comes back to the address box; each
    // one does its work from the keyboard (Enter on buttons, Space on the
    // check box).
    const QQuickItem* first = scene->activeFocusItem();
    std::set<std::string> reached;
    int stops = 0;
    for (; stops < 40; ++stops) {
        QTest::keyClick(host.Widget(), Qt::Key_Tab);
        QQuickItem* focused = scene->activeFocusItem();
        ASSERT_NE(focused, nullptr);
        if (focused == first)
            break;
        commands.clear();
        const bool isCheckBox = focused->inherits("QQuickCheckBox");
        QTest::keyClick(host.Widget(), isCheckBox ? Qt::Key_Space : Qt::Key_Return);
        reached.insert(commands.begin(), commands.end());
        // Only the program turns the start button off, when a run really
        // starts: a start it refuses must leave the button usable.
        if (std::count(commands.begin(), commands.end(), "IDC_FS_startDownload")) {
            EXPECT_EQ(host.GetVariable("_root.startDownload"), "1");
        }
        // Back to the state the walk started from.
        host.Root()->setProperty("page", QString("Download"));
        host.SetVariable("_root.downloadBtn", "0");
        QApplication::processEvents();
    }
    EXPECT_LT(stops, 40) << "Tab never came back to the address box";
    const std::set<std::string> everyControl{"IDC_FS_Minimize",     "IDC_FS_Tray",
                                             "IDC_FS_Close",        "IDC_FS_About",
                                             "IDC_FS_Slider",       "IDC_FS_Help",
                                             "ID_FS_webSite",       "IDC_FS_addDownloadURL",
                                             "IDC_FS_selectAllD",   "IDC_FS_removeSelectedD",
                                             "IDC_FS_moveUp",       "IDC_FS_moveDown",
                                             "ID_FS_clearComplete", "IDC_FS_startDownload",
                                             "IDC_FS_stopDownload", "ID_FS_autoDownloadCheck",
                                             "ID_FS_downloadBrowse"};
    for (const std::string& command : everyControl)
        EXPECT_TRUE(reached.count(command)) << command << " cannot be reached from the keyboard";
}

namespace {
/// Every named control of the accessible tree under `node`: name -> interface.
void Named(QAccessibleInterface* node, std::map<std::string, QAccessibleInterface*>& found, int depth = 0)
{
    if (!node || depth > 30)
        return;
    const std::string name = node->text(QAccessible::Name).toStdString();
    if (!name.empty() && !found.count(name))
        found[name] = node;
    for (int i = 0; i < node->childCount(); ++i)
        Named(node->child(i), found, depth + 1);
}
} // namespace

TEST(MovieHost, AScreenReaderGetsPlainNamesRolesStatesAndPressesEveryButton)
{
    QWidget window;
    QuickMovieHost host(&window);
    std::vector<std::string> commands;
    host.SetCommandHandler([&](const std::string& c, const std::string&) { commands.push_back(c); });
    host.SetVariable("_root.aboutTxt", "Version 1.0.0.4\r\nabout");
    host.SetVariable("_root.download_dir", "/home/me/Downloaded Videos");
    host.LoadMovie(0, MoviePath());
    window.resize(639, 535);
    host.SetGeometry(0, 0, 639, 535);
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.Root()->property("page").toString() == "Download"; }, 3000));

    std::map<std::string, QAccessibleInterface*> named;
    Named(QAccessible::queryAccessibleInterface(host.Widget()), named);
    const struct {
        const char* name;
        QAccessible::Role role;
        const char* command; // what a press sends
    } controls[] = {
        {"Minimise", QAccessible::Button, "IDC_FS_Minimize"},
        {"Hide to tray", QAccessible::Button, "IDC_FS_Tray"},
        {"Help", QAccessible::Button, "IDC_FS_Help"},
        {"Web site", QAccessible::Button, "ID_FS_webSite"},
        {"Add", QAccessible::Button, "IDC_FS_addDownloadURL"},
        {"Select all", QAccessible::Button, "IDC_FS_selectAllD"},
        {"Remove selected", QAccessible::Button, "IDC_FS_removeSelectedD"},
        {"Up", QAccessible::Button, "IDC_FS_moveUp"},
        {"Down", QAccessible::Button, "IDC_FS_moveDown"},
        {"Clear completed", QAccessible::Button, "ID_FS_clearComplete"},
        {"Start downloading", QAccessible::Button, "IDC_FS_startDownload"},
        {"Browse for the download folder", QAccessible::Button, "ID_FS_downloadBrowse"},
        {"About", QAccessible::PageTab, "IDC_FS_About"},
        {"Ready", QAccessible::StatusBar, nullptr},
        {"Download folder: /home/me/Downloaded Videos", QAccessible::StaticText, nullptr},
    };
    for (const auto& c : controls) {
        ASSERT_TRUE(named.count(c.name)) << c.name;
        QAccessibleInterface* control = named[c.name];
        EXPECT_EQ(control->role(), c.role) << c.name;
        if (!c.command)
            continue;
        ASSERT_NE(control->actionInterface(), nullptr) << c.name;
        commands.clear();
        control->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_EQ(std::count(commands.begin(), commands.end(), c.command), 1) << c.name;
    }
    EXPECT_TRUE(named["About"]->state().selected);
    EXPECT_FALSE(named["Download"]->state().selected);
    EXPECT_EQ(named["Stop"]->text(QAccessible::Description), "Not available now");
    EXPECT_EQ(named["Version 1.0.0.4\nabout"]->role(), QAccessible::StaticText) << "the About page's text";
}
