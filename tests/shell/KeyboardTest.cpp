// The grid in the window's Tab order, on a real main window (offscreen) with
// the program's movie: Tab reaches the grid at its place in the movie, the
// arrows work in it, and Tab / Shift+Tab lead back to the movie's controls.
#include "platform/FileSystem.h"
#include "platform/gui/GridControl.h"
#include "platform/gui/MainWindowHost.h"
#include "platform/gui/QtControls.h"
#include "platform/gui/QuickMovieHost.h"
#include "platform/gui/TableGrid.h"
#include "platform/registry/UserStore.h"
#include "platform/seams/TestSeams.h"
#include "platform/window/Desktop.h"
#include "platform/window/MessageBox.h"
#include "platform/window/seams/WindowTestSeams.h"
#include "queue/DownloadListTable.h"
#include "queue/DownloadQueue.h"
#include "settings/AppSettings.h"
#include "shell/FormFactory.h"
#include "shell/frmMain.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace tollivex;

namespace {

struct Window {
    test::TempFolder config;
    test::TempFolder program;
    std::unique_ptr<frmMain> form;

    Window()
    {
        platform::registry::SetStoreFolder(config.Path());
        const std::string assets = std::string(std::getenv("TOLLIVEX_SOURCE_DIR")) + "/assets/";
        program.Write("Main.qml", *platform::ReadWholeFile(assets + "Main.qml"));
        platform::SetProgramFolder(program.Path());
        platform::SetMessageAnswerer([](const platform::MessageRequest&) { return platform::MessageAnswer::No; });
        DownloadQueue.clear();
        bUrlMonitor = false;
        sDownloadDir.clear();
        form = std::make_unique<frmMain>(CreateFormControls());
    }
    ~Window()
    {
        form->StopHook();
        form.reset();
        platform::SetMessageAnswerer(nullptr);
        platform::registry::SetStoreFolder("");
        DownloadQueue.clear();
    }
    platform::QuickMovieHost& Movie() { return dynamic_cast<platform::QuickMovieHost&>(form->Flash()); }
    QQuickWindow* Scene() { return Movie().Widget()->quickWindow(); }
    QTableView* GridView() { return dynamic_cast<platform::TableGrid&>(form->DownloadGrid()).View(); }
    /// The text of the movie's control that has the keyboard focus ("" for none or no text).
    std::string FocusedControl()
    {
        if (QApplication::focusWidget() != Movie().Widget() || !Scene()->activeFocusItem())
            return {};
        return Scene()->activeFocusItem()->property("text").toString().toStdString();
    }
    void Fill(int items)
    {
        DownloadQueue.clear();
        for (int i = 0; i < items; ++i)
            DownloadQueue.push_back({static_cast<std::int16_t>(i + 1),
                                     "http://www.youtube.com/watch?v=" + std::to_string(i),
                                     "v" + std::to_string(i) + ".flv", "Waiting", "????"});
        form->FillDownloadList();
    }
};

/// A key pressed where the keyboard focus is, as the user would.
void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, static_cast<Qt::Key>(key), modifiers);
}

} // namespace

TEST(Keyboard, TabLeadsIntoTheGridAndBackToTheMovieAndPassesOverAnEmptyList)
{
    Window w;
    w.form->Form_Load();
    ASSERT_FALSE(w.form->Ended());
    w.form->Window().Show();
    QWidget* window = platform::HostWidget(w.form->Window());
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.Movie().GetVariable("page") == "Download"; }, 3000));
    ASSERT_TRUE(w.form->DownloadGrid().IsVisible());
    w.Fill(3);
    QTableView* view = w.GridView();
    QItemSelectionModel* selection = view->selectionModel();

    // From the address box: the add button, then the grid on its first row.
    w.Movie().Widget()->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return w.Scene()->activeFocusItem() && w.Scene()->activeFocusItem()->inherits("QQuickTextField"); },
        3000));
    Press(Qt::Key_Tab);
    EXPECT_EQ(w.FocusedControl(), "+ Add");
    int tabs = 1;
    for (; tabs < 10 && QApplication::focusWidget() != view; ++tabs)
        Press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), view);
    EXPECT_EQ(tabs, 2);
    EXPECT_TRUE(w.form->DownloadGrid().IsActiveControl());
    ASSERT_TRUE(view->currentIndex().isValid());
    EXPECT_EQ(view->currentIndex().row(), 0);
    EXPECT_TRUE(selection->isSelected(view->currentIndex()));

    // The arrows move the current cell and the selection with it.
    Press(Qt::Key_Down);
    EXPECT_EQ(view->currentIndex().row(), 1);
    EXPECT_TRUE(selection->isSelected(view->currentIndex()));
    EXPECT_FALSE(selection->isRowSelected(0, {}) || selection->isSelected(view->model()->index(0, 0)));

    // Tab is not taken for cell-to-cell moves: it leaves for the next control.
    Press(Qt::Key_Tab);
    EXPECT_EQ(w.FocusedControl(), "Select all");
    // Shift+Tab comes back to the cell the user was on, and goes on to the add button.
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), view);
    EXPECT_EQ(view->currentIndex().row(), 1);
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(w.FocusedControl(), "+ Add");

    // The whole way from the keyboard: select the second item in the grid,
    // then Remove selected.
    Press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), view);
    Press(Qt::Key_Tab);
    Press(Qt::Key_Tab);
    ASSERT_EQ(w.FocusedControl(), "Remove selected");
    Press(Qt::Key_Return);
    ASSERT_EQ(DownloadQueue.size(), 2u);
    EXPECT_EQ(DownloadQueue[0].Video_URL, "http://www.youtube.com/watch?v=0");
    EXPECT_EQ(DownloadQueue[1].Video_URL, "http://www.youtube.com/watch?v=2");

    // Ctrl+A in the grid selects every item, as the view does.
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), view);
    Press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(w.form->DownloadGrid().SelectedCells().size(), 2u * kDownloadListColumns);
    // Delete removes the selected rows, as "Remove selected" does.
    w.Fill(3);
    view->setFocus();
    view->setCurrentIndex(view->model()->index(1, colFileName));
    Press(Qt::Key_Delete);
    ASSERT_EQ(DownloadQueue.size(), 2u);
    EXPECT_EQ(DownloadQueue[1].Video_URL, "http://www.youtube.com/watch?v=2");

    // With the list empty the grid's place is passed over both ways.
    Press(Qt::Key_Tab);
    w.Fill(0);
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(w.FocusedControl(), "+ Add");
    Press(Qt::Key_Tab);
    EXPECT_EQ(w.FocusedControl(), "Select all");
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(w.FocusedControl(), "+ Add");

    // F1 opens the help page wherever the keyboard is, the list included.
    std::vector<std::string> opened;
    platform::SetShellOpenObserver([&](const std::string& target) {
        opened.push_back(target);
        return true;
    });
    const std::string help = w.program.Write("Help.html", "<html></html>");
    Press(Qt::Key_F1);
    w.Fill(1);
    view->setFocus();
    Press(Qt::Key_F1);
    platform::SetShellOpenObserver(nullptr);
    EXPECT_EQ(opened, (std::vector<std::string>{help, help}));
}
