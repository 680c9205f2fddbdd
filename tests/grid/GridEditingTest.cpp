// Editing the queue from the main window's grid: removing, clearing, moving
// and renaming on small queues, and edits that arrive while a rebuild runs.

#include "GridTestSupport.h"

#include "platform/gui/MainWindowHost.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <string>
#include <vector>

namespace tollivex::test {
namespace {

using LabelList = std::vector<std::string>;

TEST_F(GridForm, RemovingSelectedItemsFromSmallQueues)
{
    // An empty grid: nothing happens, not even a rebuild.
    form->Grid.bGridFormatted = true;
    const auto binding = grid->Binding();
    form->Grid.SelectAll();
    form->Grid.RemoveSelected();
    form->Grid.ClearCompleted();
    EXPECT_EQ(grid->Binding(), binding);
    EXPECT_TRUE(form->Grid.bGridFormatted);
    form->Grid.bGridFormatted = false;

    // The only item, by one of its cells: the grid empties and will be laid out afresh.
    Queue({"a"});
    EXPECT_TRUE(form->Grid.bGridFormatted);
    SelectCell(0, colFileSize);
    form->Grid.RemoveSelected();
    EXPECT_TRUE(DownloadQueue.empty());
    EXPECT_EQ(GridRows(), 0);
    EXPECT_FALSE(form->Grid.bGridFormatted);
    Queue({"b"});
    EXPECT_TRUE(form->Grid.bGridFormatted);
    EXPECT_TRUE(QueueAndGridAgree());
    DownloadQueue.clear();
    form->FillDownloadList();

    // First, then last of three.
    Queue({"a", "b", "c"});
    SelectCell(0, colStatus);
    form->Grid.RemoveSelected();
    EXPECT_EQ(Labels(), (LabelList{"b", "c"}));
    EXPECT_TRUE(QueueAndGridAgree());
    EXPECT_TRUE(grid->SelectedCells().empty()) << "the rebuild drops the selection";
    SelectRow(1);
    form->Grid.RemoveSelected();
    EXPECT_EQ(Labels(), (LabelList{"b"}));
    EXPECT_TRUE(QueueAndGridAgree());

    // The middle of three.
    DownloadQueue.clear();
    Queue({"a", "b", "c"});
    SelectCell(1, colID);
    form->Grid.RemoveSelected();
    EXPECT_EQ(Labels(), (LabelList{"a", "c"}));
    EXPECT_TRUE(QueueAndGridAgree());

    // Cells of several rows, a whole row among them, picked bottom first.
    DownloadQueue.clear();
    Queue({"a", "b", "c", "d", "e"});
    SelectCell(4, colFileName);
    SelectCell(0, colFileSize);
    SelectRow(2);
    form->Grid.RemoveSelected();
    EXPECT_EQ(Labels(), (LabelList{"b", "d"}));
    EXPECT_TRUE(QueueAndGridAgree());

    // Nothing selected: the list is rebuilt as it was.
    const auto before = grid->Binding();
    form->Grid.RemoveSelected();
    EXPECT_GT(grid->Binding(), before);
    EXPECT_EQ(Labels(), (LabelList{"b", "d"}));

    // Everything.
    form->Grid.SelectAll();
    EXPECT_EQ(grid->SelectedCells().size(), 2u * kDownloadListColumns);
    form->Grid.RemoveSelected();
    EXPECT_TRUE(DownloadQueue.empty());
    EXPECT_EQ(GridRows(), 0);
    EXPECT_FALSE(form->Grid.bGridFormatted);

    // An address cut in the table, made of two-byte characters, still names its row.
    std::string wide;
    for (int i = 0; i < 230; ++i)
        wide += "\u00e9";
    Queue({"z", wide});
    SelectCell(1, colStatus);
    form->Grid.MoveSelectedUp();
    EXPECT_EQ(Labels(), (LabelList{wide, "z"}));
    EXPECT_TRUE(Rename(0, "wide.flv"));
    EXPECT_EQ(DownloadQueue[0].FileName, "wide.flv");
    SelectRow(0);
    form->Grid.RemoveSelected();
    EXPECT_EQ(Labels(), (LabelList{"z"}));
}

TEST_F(GridForm, TheColumnsCarryTheirCaptionsFromTheFirstLayoutOn)
{
    const char* const captions[] = {" ", "Video URL", "Local File Name", "Download Status", "File Size"};
    const QAbstractItemModel* model = grid->View()->model();
    for (const auto& labels : {LabelList{"a"}, LabelList{"b"}}) { // the full layout, then a re-bind
        Queue(labels);
        for (int c = 0; c < kDownloadListColumns; ++c)
            EXPECT_EQ(model->headerData(c, Qt::Horizontal).toString().toStdString(), captions[c]) << c;
    }
}

TEST_F(GridForm, ASelectionMadeWithTheMouseRemovesEveryTouchedRow)
{
    form->Window().SetSize(700, 400);
    form->Window().Show();
    grid->SetGeometry(0, 0, 700, 400);
    grid->SetVisible(true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid->View()->window()));
    Queue({"a", "b", "c", "d"});
    QTableView* view = grid->View();
    QAbstractItemModel* model = view->model();
    auto centre = [&](int row, int column) { return view->visualRect(model->index(row, column)).center(); };

    // A click on one cell, a control-click on a cell two rows down.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, centre(1, colStatus));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, centre(3, colVideoURL));
    ASSERT_EQ(grid->SelectedCells().size(), 2u);
    form->Grid.RemoveSelected();
    EXPECT_EQ(Labels(), (LabelList{"a", "c"}));
    EXPECT_TRUE(QueueAndGridAgree());

    // A block across two rows and two columns, by click and shift-click.
    DownloadQueue.clear();
    Queue({"a", "b", "c", "d"});
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, centre(1, colFileName));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, centre(2, colStatus));
    ASSERT_EQ(grid->SelectedCells().size(), 4u);
    form->Grid.RemoveSelected();
    EXPECT_EQ(Labels(), (LabelList{"a", "d"}));
    EXPECT_TRUE(QueueAndGridAgree());

    // Two cells clicked bottom first: the move takes the first of the selection.
    DownloadQueue.clear();
    Queue({"a", "b", "c", "d"});
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, centre(3, colStatus));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, centre(1, colStatus));
    const auto cells = grid->SelectedCells();
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].row.index, 3) << "the collection lists cells in the order they were selected";
    form->Grid.MoveSelectedUp();
    EXPECT_EQ(Labels(), (LabelList{"a", "b", "d", "c"}));
    EXPECT_TRUE(QueueAndGridAgree());
}

TEST_F(GridForm, ClearingCompletedItemsKeepsEveryOtherStatus)
{
    Queue({"a", "b", "c"}, {"Complete", "ERROR", "Complete"});
    form->Grid.ClearCompleted();
    EXPECT_EQ(Labels(), (LabelList{"b"}));
    EXPECT_EQ(DownloadQueue[0].ID, 1);
    EXPECT_TRUE(QueueAndGridAgree());

    // Only the exact text counts; the first and the last item go.
    DownloadQueue.clear();
    Queue({"a", "b", "c", "d", "e"}, {"Complete", "Cancelled", "complete", "50", "Complete"});
    form->Grid.ClearCompleted();
    EXPECT_EQ(Labels(), (LabelList{"b", "c", "d"}));
    EXPECT_TRUE(QueueAndGridAgree());
    EXPECT_TRUE(form->Grid.bGridFormatted);

    // Nothing finished: the list is rebuilt unchanged.
    const auto before = grid->Binding();
    form->Grid.ClearCompleted();
    EXPECT_GT(grid->Binding(), before);
    EXPECT_EQ(Labels(), (LabelList{"b", "c", "d"}));

    // All finished: empty, laid out afresh next time.
    DownloadQueue.clear();
    Queue({"a", "b"}, {"Complete", "Complete"});
    form->Grid.ClearCompleted();
    EXPECT_TRUE(DownloadQueue.empty());
    EXPECT_EQ(GridRows(), 0);
    EXPECT_FALSE(form->Grid.bGridFormatted);
}

TEST_F(GridForm, MovingTheFirstSelectedItemUpOrDown)
{
    // Empty queue: a move only rebuilds, which unbinds.
    auto before = grid->Binding();
    form->Grid.MoveSelectedUp();
    form->Grid.MoveSelectedDown();
    EXPECT_GT(grid->Binding(), before);
    EXPECT_EQ(GridRows(), 0);

    // The only item stays where it is, whichever way.
    Queue({"a"});
    SelectCell(0, colFileName);
    form->Grid.MoveSelectedUp();
    SelectCell(0, colFileName);
    form->Grid.MoveSelectedDown();
    EXPECT_EQ(Labels(), (LabelList{"a"}));
    EXPECT_TRUE(QueueAndGridAgree());

    // First up and last down change nothing but are rebuilt.
    DownloadQueue.clear();
    Queue({"a", "b", "c"});
    SelectRow(0);
    before = grid->Binding();
    form->Grid.MoveSelectedUp();
    EXPECT_GT(grid->Binding(), before);
    EXPECT_EQ(Labels(), (LabelList{"a", "b", "c"}));
    SelectCell(2, colStatus);
    form->Grid.MoveSelectedDown();
    EXPECT_EQ(Labels(), (LabelList{"a", "b", "c"}));
    EXPECT_TRUE(grid->SelectedCells().empty()) << "a moved item is not selected again";

    // Item 3 up: it becomes 2 and the former 2 becomes 3.
    SelectCell(2, colFileSize);
    form->Grid.MoveSelectedUp();
    EXPECT_EQ(Labels(), (LabelList{"a", "c", "b"}));
    EXPECT_TRUE(QueueAndGridAgree());
    EXPECT_EQ(Cell(1, colVideoURL), AddressOf("c"));
    EXPECT_EQ(Cell(2, colID), "3");

    // The first item down.
    SelectCell(0, colVideoURL);
    form->Grid.MoveSelectedDown();
    EXPECT_EQ(Labels(), (LabelList{"c", "a", "b"}));
    EXPECT_TRUE(QueueAndGridAgree());

    // Cells of two rows: only the row that comes first in the selection moves.
    SelectCell(2, colStatus);
    SelectCell(1, colStatus);
    form->Grid.MoveSelectedUp();
    EXPECT_EQ(Labels(), (LabelList{"a", "c", "b"}));
    EXPECT_TRUE(QueueAndGridAgree());
    SelectRow(0);
    SelectRow(1);
    form->Grid.MoveSelectedDown();
    EXPECT_EQ(Labels(), (LabelList{"c", "a", "b"}));
    EXPECT_TRUE(QueueAndGridAgree());

    // Nothing selected: rebuilt, unchanged.
    before = grid->Binding();
    form->Grid.MoveSelectedDown();
    EXPECT_GT(grid->Binding(), before);
    EXPECT_EQ(Labels(), (LabelList{"c", "a", "b"}));
}

TEST_F(GridForm, RenamingAcceptsCleanNamesAndRefusesUnusableOnes)
{
    Queue({"a", "b", "c"});
    DownloadQueue[2].FileName = "Waiting (Auto Detect)";
    form->FillDownloadList();

    // Characters a file name cannot hold are dropped, in the grid and the queue.
    EXPECT_TRUE(Rename(0, "my:video?.flv"));
    EXPECT_EQ(DownloadQueue[0].FileName, "myvideo.flv");
    EXPECT_EQ(Cell(0, colFileName), "myvideo.flv");
    EXPECT_EQ(form->Grid.sPendingFileName, "myvideo.flv");
    EXPECT_EQ(DownloadQueue[0].Status, "Waiting") << "only the name changes";
    EXPECT_EQ(DownloadQueue[0].Video_URL, AddressOf("a"));

    // Names that clean to nothing, or to the prompt, or to the folder itself.
    for (const std::string typed : {"???", "", "Enter File Name", "<>|", "..", " . ", "\t\x01"}) {
        EXPECT_FALSE(Rename(1, typed)) << "'" << typed << "'";
        EXPECT_EQ(DownloadQueue[1].FileName, "b.flv") << "'" << typed << "'";
        EXPECT_EQ(Cell(1, colFileName), "b.flv") << "'" << typed << "'";
    }

    // The name another queued item is saved under; placeholders are not names.
    EXPECT_FALSE(Rename(1, "myvideo.flv"));
    EXPECT_FALSE(Rename(1, "my*video.flv")) << "cleaned, it is the same name";
    EXPECT_EQ(DownloadQueue[1].FileName, "b.flv");
    EXPECT_EQ(Cell(1, colFileName), "b.flv");
    EXPECT_TRUE(Rename(1, "b.flv")) << "an item's own name is no collision";
    EXPECT_TRUE(Rename(0, "Waiting (Auto Detect).flv"));
    EXPECT_EQ(DownloadQueue[0].FileName, "Waiting (Auto Detect).flv");
    EXPECT_TRUE(Rename(2, "c.flv"));
    EXPECT_EQ(DownloadQueue[2].FileName, "c.flv");
    EXPECT_TRUE(QueueAndGridAgree());
}

TEST_F(GridForm, RenamingHoldsNamesToTheFileNameColumn)
{
    Queue({"a", "b"});
    const std::string stem(150, 'x');

    // A long name is cut to the column and keeps its extension.
    EXPECT_TRUE(Rename(0, stem + ".flv"));
    const std::string cut = std::string(96, 'x') + ".flv";
    EXPECT_EQ(DownloadQueue[0].FileName, cut);
    EXPECT_EQ(Cell(0, colFileName), cut);

    // Exactly 100 characters stay as typed; 101 lose one from the name part.
    const std::string hundred = std::string(96, 'y') + ".flv";
    EXPECT_TRUE(Rename(1, hundred));
    EXPECT_EQ(DownloadQueue[1].FileName, hundred);
    EXPECT_TRUE(Rename(1, "z" + hundred));
    EXPECT_EQ(DownloadQueue[1].FileName, "z" + std::string(95, 'y') + ".flv");

    // Cut, it would be the other item's name: refused.
    EXPECT_FALSE(Rename(1, std::string(120, 'x') + ".flv"));
    EXPECT_EQ(DownloadQueue[1].FileName, "z" + std::string(95, 'y') + ".flv");

    // A cut that leaves only blanks and dots would name no file in the folder.
    EXPECT_FALSE(Rename(0, std::string(120, ' ') + "abc"));
    EXPECT_FALSE(Rename(0, std::string(60, '.') + std::string(60, ' ') + "abc"));
    EXPECT_EQ(DownloadQueue[0].FileName, cut);

    // Characters, not bytes: a hundred two-byte letters fit.
    std::string wide;
    for (int i = 0; i < 101; ++i)
        wide += "\xC3\xA9";
    EXPECT_TRUE(Rename(1, wide));
    EXPECT_EQ(DownloadQueue[1].FileName.size(), 200u);
    EXPECT_EQ(QString::fromStdString(DownloadQueue[1].FileName).size(), 100);
    EXPECT_TRUE(QueueAndGridAgree());
}

TEST_F(GridForm, RenamingActsOnlyOnTheFileNameColumnOfARowThatStillFits)
{
    Queue({"a", "b"});
    QAbstractItemModel* model = grid->View()->model();
    for (int c : {colID, colVideoURL, colStatus, colFileSize}) {
        EXPECT_FALSE(model->flags(model->index(0, c)) & Qt::ItemIsEditable) << c;
        EXPECT_FALSE(model->setData(model->index(0, c), "x.flv")) << c;
    }
    EXPECT_TRUE(model->flags(model->index(0, colFileName)) & Qt::ItemIsEditable);

    // The handlers themselves leave other columns alone.
    bool cancel = false;
    const platform::GridCell status{*Row(0), colStatus};
    form->Grid.DownloadGrid_BeforeCellUpdate(status, "x.flv", cancel);
    EXPECT_FALSE(cancel);
    form->Grid.sPendingFileName = "x.flv";
    form->Grid.DownloadGrid_AfterCellUpdate(status);
    EXPECT_EQ(DownloadQueue[0].Status, "Waiting");
    EXPECT_EQ(Cell(0, colStatus), "Waiting");

    // A row of an older table, or one whose item has moved since, renames nothing.
    const platform::GridCell stale{*Row(0), colFileName};
    MoveItemDown(1); // the grid still shows a, b
    form->Grid.DownloadGrid_BeforeCellUpdate(platform::GridCell{*Row(0), colFileName}, "new.flv", cancel);
    EXPECT_TRUE(cancel);
    form->FillDownloadList();
    cancel = false;
    form->Grid.DownloadGrid_BeforeCellUpdate(stale, "new.flv", cancel);
    EXPECT_TRUE(cancel);
    form->Grid.sPendingFileName = "new.flv";
    form->Grid.DownloadGrid_AfterCellUpdate(stale);
    EXPECT_EQ(DownloadQueue[0].FileName, "b.flv");
    EXPECT_EQ(DownloadQueue[1].FileName, "a.flv");
    EXPECT_TRUE(QueueAndGridAgree());
}

TEST_F(GridForm, GridEditsAreIgnoredWhileTheListIsRebuilt)
{
    std::vector<std::string> labels, statuses;
    for (int i = 0; i < 40; ++i) {
        labels.push_back("item" + std::to_string(i));
        statuses.push_back(i % 3 == 0 ? "Complete" : "Waiting");
    }
    Queue(labels, statuses);
    const std::vector<DownloadItem> before = DownloadQueue;

    bool ran = false, filling = false, renamed = true;
    QTimer::singleShot(0, [&] {
        ran = true;
        filling = form->bFillingList();
        // The grid still shows the previous table: every command reads it.
        SelectRow(1);
        SelectCell(5, colStatus);
        form->Grid.RemoveSelected();
        form->Grid.ClearCompleted();
        SelectRow(2);
        form->Grid.MoveSelectedUp();
        form->Grid.MoveSelectedDown();
        renamed = Rename(4, "during.flv");
    });
    form->FillDownloadList();
    ASSERT_TRUE(ran) << "window events must run during a rebuild";
    EXPECT_TRUE(filling);
    EXPECT_FALSE(renamed);
    ASSERT_EQ(DownloadQueue.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(DownloadQueue[i].Video_URL, before[i].Video_URL) << i;
        EXPECT_EQ(DownloadQueue[i].FileName, before[i].FileName) << i;
        EXPECT_EQ(DownloadQueue[i].Status, before[i].Status) << i;
    }
    EXPECT_TRUE(QueueAndGridAgree());

    // Afterwards the same commands work.
    SelectRow(1);
    form->Grid.RemoveSelected();
    EXPECT_EQ(DownloadQueue.size(), before.size() - 1);
    form->Grid.ClearCompleted();
    EXPECT_EQ(DownloadQueue.size(), before.size() - 1 - 14);
    EXPECT_TRUE(Rename(0, "after.flv"));
    EXPECT_EQ(DownloadQueue[0].FileName, "after.flv");
    EXPECT_TRUE(QueueAndGridAgree());
}

} // namespace
} // namespace tollivex::test
