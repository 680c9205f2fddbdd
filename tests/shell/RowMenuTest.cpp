// The list's context menu on a real window (offscreen): the entries each row
// offers as a screen reader is given them, and what they do, seen on the
// queue, through the shell-open observer, on the clipboard and by the
// desktop's file manager.
#include "grid/GridTestSupport.h"

#include "grid/RowMenu.h"
#include "grid/RowMenuWindow.h"
#include "platform/window/Desktop.h"
#include "platform/window/seams/WindowTestSeams.h"
#include "scheduler/VideoFile.h"
#include "settings/AppSettings.h"
#include "support/PrivateDesktop.h"
#include "support/TempFolder.h"

#include <QAccessible>
#include <QAction>
#include <QContextMenuEvent>
#include <QItemSelectionModel>
#include <QJsonArray>
#include <QMenu>
#include <QTest>

namespace tollivex::test {
namespace {

TEST(RowMenuState, OpeningNeedsAFinishedFileTheOtherEntriesAnyRow)
{
    const struct {
        std::vector<RowFacts> rows;
        RowMenuState state;
    } cases[] = {
        {{}, {false, false, false, false}},
        {{{"Waiting", false}, {"Complete", true}}, {true, true, true, true}},
        {{{"45", true}, {"Complete", false}}, {false, false, true, true}},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(RowMenuFor(c.rows) == c.state) << c.rows.size();
}

class RowMenu : public GridForm {
protected:
    void SetUp() override
    {
        GridForm::SetUp();
        sDownloadDir = folder.Path();
        platform::SetShellOpenObserver([this](const std::string& target) {
            opened.push_back(target);
            return true;
        });
        // The user: notes the entries as a screen reader gets them, then picks one.
        SetRowMenuChooser([this](QMenu& menu) -> QAction* {
            entries.clear();
            QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&menu);
            for (int i = 0; list && i < list->childCount(); ++i) {
                const QString name = list->child(i)->text(QAccessible::Name);
                if (!name.isEmpty())
                    entries.push_back((list->child(i)->state().disabled ? "(" + name + ")" : name).toStdString());
            }
            for (QAction* action : menu.actions())
                if (action->text().remove('&').toStdString() == pick)
                    return action;
            return nullptr;
        });
        Queue({"done", "wait", "gone", "fail"}, {"Complete", "Waiting", "Complete", "ERROR"});
        file = folder.Write("done.flv", "video"); // "gone.flv" is missing
        NotePublished(file, AddressOf("done"));
    }
    void TearDown() override
    {
        SetRowMenuChooser({});
        platform::SetShellOpenObserver({});
        GridForm::TearDown();
    }
    QWidget* Viewport() const { return grid->View()->viewport(); }
    void RightClick(int position, const std::string& choice)
    {
        pick = choice;
        const QPoint at = grid->View()->visualRect(grid->View()->model()->index(position, 1)).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, Viewport()->mapToGlobal(at));
        QApplication::sendEvent(Viewport(), &event);
    }
    void ShiftF10(int position, const std::string& choice)
    {
        pick = choice;
        grid->View()->setCurrentIndex(grid->View()->model()->index(position, 2));
        QTest::keyClick(grid->View(), Qt::Key_F10, Qt::ShiftModifier);
    }

    TempFolder folder;
    std::string file;
    std::vector<std::string> opened;
    std::vector<std::string> entries;
    std::string pick;
};

TEST_F(RowMenu, EachRowOffersWhatAppliesToItAndEveryEntryActsOnItsItem)
{
    const std::vector<std::string> all{"Open", "Open Containing Folder", "Copy Page Address", "Remove"};
    const std::vector<std::string> noFile{"(Open)", "(Open Containing Folder)", "Copy Page Address", "Remove"};

    RightClick(0, "Open");
    EXPECT_EQ(entries, all);
    EXPECT_EQ(opened, std::vector<std::string>{file});

    // No finished file: opening does nothing even when asked for.
    for (int row : {1, 2, 3}) {
        opened.clear();
        RightClick(row, "Open");
        EXPECT_EQ(entries, noFile) << row;
        EXPECT_TRUE(opened.empty()) << row;
    }

    // From the keyboard, for the current row; no file manager on the bus: the folder opens.
    opened.clear();
    ShiftF10(0, "Open Containing Folder");
    EXPECT_EQ(entries, all);
    EXPECT_EQ(opened, std::vector<std::string>{folder.Path()});

    ShiftF10(1, "Copy Page Address");
    EXPECT_EQ(platform::ClipboardText(), AddressOf("wait"));

    // A row outside the selection becomes the selection; one inside keeps it.
    grid->View()->clearSelection();
    SelectRow(1);
    SelectRow(2);
    RightClick(3, "");
    EXPECT_EQ(grid->View()->selectionModel()->selectedRows(), QModelIndexList{grid->View()->model()->index(3, 0)});
    grid->View()->clearSelection();
    SelectRow(1);
    SelectRow(2);
    RightClick(2, "Remove");
    EXPECT_EQ(Labels(), (std::vector<std::string>{"done", "fail"}));
    EXPECT_TRUE(QueueAndGridAgree());
}

TEST_F(RowMenu, TheFileManagerShowsTheFinishedFileSelected)
{
    PrivateDesktop desktop;
    if (!desktop.Failure().empty())
        GTEST_SKIP() << desktop.Failure();
    RightClick(0, "Open Containing Folder");
    ASSERT_TRUE(desktop.WaitForCalls(1, 5000));
    const QJsonObject call = desktop.Calls().front();
    EXPECT_EQ(call["call"], "ShowItems");
    EXPECT_EQ(call["uris"].toArray().first().toString().toStdString(), "file://" + file);
    QTest::qWait(50);
    EXPECT_TRUE(opened.empty());
}

} // namespace
} // namespace tollivex::test
