// Editing the list from the grid while a download run works on one of its
// items: the run's progress, status and file stay with that item.

#include "scheduler/RunFixture.h"

#include "platform/gui/TableGrid.h"
#include "queue/DownloadListTable.h"
#include "queue/DownloadQueue.h"

#include <QAbstractItemModel>
#include <QTableView>

#include <QTimer>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tollivex::test {
namespace {

class GridRunEditing : public RunFixture {
protected:
    std::optional<platform::GridRow> RowOf(const std::string& name) const
    {
        platform::GridControl& grid = form->DownloadGrid();
        for (auto row = grid.FirstRow(); row; row = grid.NextRow(*row)) {
            if (grid.CellText(platform::GridCell{*row, colVideoURL}) == PageAddress("/" + name + ".html"))
                return row;
        }
        return std::nullopt;
    }
    /// Status shown in the grid for each item, by its name.
    std::map<std::string, std::string> ShownStatuses() const
    {
        std::map<std::string, std::string> shown;
        for (const char* name : {"a", "b", "c"}) {
            if (auto row = RowOf(name))
                shown[name] = form->DownloadGrid().CellText(platform::GridCell{*row, colStatus});
        }
        return shown;
    }
    std::string StatusOf(const std::string& name) const
    {
        const int at = IndexOfAddress(PageAddress("/" + name + ".html"));
        return at >= 0 ? DownloadQueue[static_cast<size_t>(at)].Status : std::string("<removed>");
    }
    /// Once, during the first video event of `name`, `edit` runs as a window
    /// event inside the transfer, as a click on a button would.
    void EditDuringTransferOf(const std::string& name, const std::function<void()>& edit)
    {
        onProgress = [this, name, edit](const EventRecord&) {
            if (edited || form->Scheduler.State().bFetchingPage() ||
                form->Scheduler.State().sCurrentAddress() != PageAddress("/" + name + ".html"))
                return;
            edited = true;
            QTimer::singleShot(0, [edit] { edit(); });
        };
    }
    bool edited = false;
};

TEST_F(GridRunEditing, RemovingTheRunningItemLeavesTheOthersUntouched)
{
    ServeThree();
    std::vector<std::map<std::string, std::string>> shownWhileAFinished;
    std::vector<std::string> queuedWhileAFinished;
    std::vector<std::string> cells;
    EditDuringTransferOf("a", [&] {
        form->DownloadGrid().SetCellSelected(platform::GridCell{*RowOf("a"), colFileSize}, true);
        form->Grid.RemoveSelected();
    });
    auto edit = onProgress;
    onProgress = [&, edit](const EventRecord& r) {
        edit(r);
        if (IndexOfAddress(PageAddress("/a.html")) < 0 && server->RequestCount("/b.html") == 0) {
            shownWhileAFinished.push_back(ShownStatuses());
            queuedWhileAFinished.push_back(StatusOf("b") + "," + StatusOf("c"));
            cells.push_back(r.cell);
        }
    };
    Run();

    ASSERT_TRUE(edited);
    ASSERT_FALSE(shownWhileAFinished.empty()) << "the removed item's transfer went on after the removal";
    for (size_t i = 0; i < shownWhileAFinished.size(); ++i) {
        EXPECT_EQ(shownWhileAFinished[i], (std::map<std::string, std::string>{{"b", "Waiting"}, {"c", "Waiting"}}));
        EXPECT_EQ(queuedWhileAFinished[i], "Waiting,Waiting");
        EXPECT_EQ(cells[i], "<none>") << "no grid row is written for a removed item";
    }
    ASSERT_EQ(DownloadQueue.size(), 2u);
    EXPECT_EQ(StatusOf("b"), "Complete");
    EXPECT_EQ(StatusOf("c"), "Complete");
    EXPECT_TRUE(FileHolds("b.flv", VideoBytes(20000, 'b')));
    EXPECT_TRUE(FileHolds("c.flv", VideoBytes(20000, 'c')));
    EXPECT_TRUE(FileHolds("a.flv", VideoBytes(20000, 'a'))) << "the removed item's file holds only its own bytes";
}

TEST_F(GridRunEditing, MovingTheRunningItemTakesItsProgressAlong)
{
    ServeThree();
    // The running item goes down one place, then the one above it is moved up past it.
    EditDuringTransferOf("a", [&] {
        form->DownloadGrid().SetRowSelected(*RowOf("a"), true);
        form->Grid.MoveSelectedDown();
        form->DownloadGrid().SetCellSelected(platform::GridCell{*RowOf("c"), colStatus}, true);
        form->Grid.MoveSelectedUp();
    });
    auto edit = onProgress;
    std::vector<std::map<std::string, std::string>> shown;
    std::vector<int> indices;
    onProgress = [&, edit](const EventRecord& r) {
        edit(r);
        if (edited && form->Scheduler.State().sCurrentAddress() == PageAddress("/a.html") && !r.fetchingPage &&
            DownloadQueue[2].Video_URL == PageAddress("/a.html")) {
            shown.push_back(ShownStatuses());
            indices.push_back(r.index);
        }
    };
    Run();

    ASSERT_TRUE(edited);
    ASSERT_FALSE(shown.empty());
    for (size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(indices[i], 2) << "the run follows its item to its new place";
        EXPECT_EQ(shown[i].at("b"), "Waiting");
        EXPECT_EQ(shown[i].at("c"), "Waiting");
        EXPECT_NE(shown[i].at("a"), "Waiting") << "the progress shows in the moved item's row";
    }
    // b and c moved up past the running item and are still taken in this run.
    EXPECT_EQ(StatusOf("a"), "Complete");
    EXPECT_EQ(StatusOf("b"), "Complete");
    EXPECT_EQ(StatusOf("c"), "Complete");
    for (const char* name : {"a", "b", "c"})
        EXPECT_TRUE(FileHolds(std::string(name) + ".flv", VideoBytes(20000, name[0]))) << name;
}

TEST_F(GridRunEditing, MovingAndRemovingOtherItemsLeavesTheRunningRowCounting)
{
    ServeThree();
    EditDuringTransferOf("a", [&] {
        form->DownloadGrid().SetRowSelected(*RowOf("c"), true);
        form->Grid.MoveSelectedUp();
        form->DownloadGrid().SetRowSelected(*RowOf("b"), true);
        form->Grid.RemoveSelected();
    });
    auto edit = onProgress;
    std::vector<EventRecord> afterEdit;
    onProgress = [&, edit](const EventRecord& r) {
        edit(r);
        if (edited && DownloadQueue.size() == 2 && form->Scheduler.State().sCurrentAddress() == PageAddress("/a.html"))
            afterEdit.push_back(r);
    };
    Run();

    ASSERT_FALSE(afterEdit.empty());
    for (const EventRecord& r : afterEdit) {
        EXPECT_EQ(r.index, 0);
        EXPECT_EQ(r.cell, r.status) << "the running row shows each new percentage";
    }
    EXPECT_EQ(StatusOf("a"), "Complete");
    EXPECT_EQ(StatusOf("b"), "<removed>");
    EXPECT_EQ(StatusOf("c"), "Complete");
}

TEST_F(GridRunEditing, ClearingAFinishedItemAboveTheRunningOneKeepsTheRunOnIt)
{
    ServeThree();
    EditDuringTransferOf("b", [&] { form->Grid.ClearCompleted(); });
    auto edit = onProgress;
    std::vector<EventRecord> afterClear;
    onProgress = [&, edit](const EventRecord& r) {
        edit(r);
        if (edited && DownloadQueue.size() == 2 && form->Scheduler.State().sCurrentAddress() == PageAddress("/b.html"))
            afterClear.push_back(r);
    };
    Run();

    ASSERT_TRUE(edited);
    ASSERT_FALSE(afterClear.empty());
    for (const EventRecord& r : afterClear) {
        EXPECT_EQ(r.index, 0);
        EXPECT_EQ(r.cell, r.status) << "the grid row written is the running item's";
    }
    ASSERT_EQ(DownloadQueue.size(), 2u);
    EXPECT_EQ(StatusOf("a"), "<removed>");
    EXPECT_EQ(StatusOf("b"), "Complete");
    EXPECT_EQ(StatusOf("c"), "Complete");
    EXPECT_TRUE(FileHolds("b.flv", VideoBytes(20000, 'b')));
    EXPECT_TRUE(FileHolds("c.flv", VideoBytes(20000, 'c')));
}

TEST_F(GridRunEditing, NamesTypedDuringARunAreKeptApartFromTheRunningItem)
{
    ServeThree();
    bool tookOwnName = false, tookRunningName = true, renamedRunning = true;
    EditDuringTransferOf("a", [&] {
        bool cancel = false;
        // A waiting item gets a name of its own; it survives its preparation.
        const platform::GridCell b{*RowOf("b"), colFileName};
        form->Grid.DownloadGrid_BeforeCellUpdate(b, "own name.flv", cancel);
        tookOwnName = !cancel;
        if (!cancel)
            form->Grid.DownloadGrid_AfterCellUpdate(b);
        // The name the running item is being saved under is taken.
        cancel = false;
        form->Grid.DownloadGrid_BeforeCellUpdate(platform::GridCell{*RowOf("c"), colFileName}, "a.flv", cancel);
        tookRunningName = !cancel;
        // The running item's file is open under its name: it keeps it.
        cancel = false;
        form->Grid.DownloadGrid_BeforeCellUpdate(platform::GridCell{*RowOf("a"), colFileName}, "other.flv", cancel);
        renamedRunning = !cancel;
    });
    Run();

    ASSERT_TRUE(edited);
    EXPECT_TRUE(tookOwnName);
    EXPECT_FALSE(tookRunningName);
    EXPECT_FALSE(renamedRunning);
    EXPECT_EQ(DownloadQueue[0].FileName, "a.flv");
    EXPECT_EQ(DownloadQueue[1].FileName, "own name.flv");
    EXPECT_EQ(DownloadQueue[2].FileName, "c.flv");
    EXPECT_TRUE(FileHolds("a.flv", VideoBytes(20000, 'a')));
    EXPECT_TRUE(FileHolds("own name.flv", VideoBytes(20000, 'b')));
    EXPECT_TRUE(FileHolds("c.flv", VideoBytes(20000, 'c')));
}

TEST_F(GridRunEditing, ARunningItemRenamedWhileItsPageIsFetchedIsSavedUnderTheNewName)
{
    ServeThree();
    bool took = false;
    onProgress = [&](const EventRecord&) {
        if (edited || !form->Scheduler.State().bFetchingPage() ||
            form->Scheduler.State().sCurrentAddress() != PageAddress("/a.html"))
            return;
        edited = true;
        // At once, as an edit arriving while the fetch lets the window run: a
        // deferred one could land after the page's last read.
        QAbstractItemModel* model = static_cast<platform::TableGrid&>(form->DownloadGrid()).View()->model();
        took = model->setData(model->index(RowOf("a")->index, colFileName), "first one.flv");
    };
    Run();

    ASSERT_TRUE(edited);
    EXPECT_TRUE(took) << "its file is not open yet";
    EXPECT_EQ(DownloadQueue[0].FileName, "first one.flv");
    EXPECT_EQ(StatusOf("a"), "Complete");
    EXPECT_TRUE(FileHolds("first one.flv", VideoBytes(20000, 'a')));
    EXPECT_FALSE(FileHolds("a.flv", VideoBytes(20000, 'a')));
}

} // namespace
} // namespace tollivex::test
