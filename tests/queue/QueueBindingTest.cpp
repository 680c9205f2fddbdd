// Adding addresses and rebuilding the grid's table, on a real main window.

#include "platform/gui/GridControl.h"
#include "queue/DownloadListTable.h"
#include "queue/DownloadQueue.h"
#include "shell/FormFactory.h"

#include <QTimer>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tollivex {
namespace {

class QueueBinding : public ::testing::Test {
protected:
    void SetUp() override
    {
        DownloadQueue.clear();
        rsDownloadList.reset();
        form = std::make_unique<frmMain>(CreateFormControls());
    }
    void TearDown() override
    {
        form.reset();
        DownloadQueue.clear();
        rsDownloadList.reset();
    }

    int GridRows() const
    {
        int rows = 0;
        for (auto row = form->DownloadGrid().FirstRow(); row; row = form->DownloadGrid().NextRow(*row))
            ++rows;
        return rows;
    }
    std::string Cell(int index, int column) const
    {
        auto row = form->DownloadGrid().FirstRow();
        for (int i = 0; row && i < index; ++i)
            row = form->DownloadGrid().NextRow(*row);
        return row ? form->DownloadGrid().CellText(platform::GridCell{*row, column}) : std::string("<no row>");
    }

    std::unique_ptr<frmMain> form;
};

TEST_F(QueueBinding, AddVideoUrlClassifiesQueuesOnceAndShowsTheItem)
{
    form->AddVideoUrl("http://www.youtube.com/watch?v=abc");
    form->AddVideoUrl("http://example.org/video");
    form->AddVideoUrl("http://www.youtube.com/watch?v=abc");
    ASSERT_EQ(DownloadQueue.size(), 2u);
    EXPECT_EQ(DownloadQueue[0].FileName, "Waiting (Auto Detect)");
    EXPECT_EQ(DownloadQueue[0].Status, "Waiting");
    EXPECT_EQ(DownloadQueue[0].FileSize, "????");
    EXPECT_EQ(DownloadQueue[1].FileName, "ERROR");
    EXPECT_EQ(DownloadQueue[1].Status, "Link is not supported");
    EXPECT_EQ(DownloadQueue[1].FileSize, "????");

    ASSERT_EQ(GridRows(), 2);
    EXPECT_EQ(Cell(0, colID), "1");
    EXPECT_EQ(Cell(0, colVideoURL), "http://www.youtube.com/watch?v=abc");
    EXPECT_EQ(Cell(1, colID), "2");
    EXPECT_EQ(Cell(1, colStatus), "Link is not supported");
}

TEST_F(QueueBinding, TheAddButtonQueuesAnEmptyAddressOnce)
{
    form->txtURL.Text = "";
    form->cmdAdd2List_Click();
    form->cmdAdd2List_Click();
    ASSERT_EQ(DownloadQueue.size(), 1u);
    EXPECT_EQ(DownloadQueue[0].Video_URL, "");
    EXPECT_EQ(DownloadQueue[0].Status, "Link is not supported");
}

TEST_F(QueueBinding, LongAndStrangeAddressesAreSafe)
{
    const std::string url220 = "http://youtube.com/" + std::string(220 - 19, 'x');
    ASSERT_EQ(url220.size(), 220u);
    form->AddVideoUrl(url220);
    form->AddVideoUrl("http://youtube.com/" + std::string(100 * 1024, 'y'));
    static const char kControl[] = "http://bolt.com/\x01\x02\r\n\t\0zz";
    form->AddVideoUrl(std::string(kControl, sizeof kControl - 1));
    form->AddVideoUrl("http://dailymotion.com/vid\xc3\xa9o/\xff\xfe");
    // 219 characters of which the last few take two bytes each.
    std::string accented = "http://youtube.com/" + std::string(190, 'w');
    for (int i = 0; i < 20; ++i)
        accented += "\xc3\xa9";
    form->AddVideoUrl(accented);
    ASSERT_EQ(DownloadQueue.size(), 5u);
    EXPECT_EQ(DownloadQueue[0].Video_URL.size(), 220u); // the queue keeps everything
    EXPECT_EQ(Cell(0, colVideoURL).size(), 219u);       // the table holds 219 characters
    EXPECT_EQ(Cell(1, colVideoURL).size(), 219u);
    EXPECT_EQ(Cell(4, colVideoURL), accented.substr(0, 209 + 2 * 10)) << "whole characters are kept";
    EXPECT_EQ(DownloadQueue[2].Status, "Waiting");
    EXPECT_EQ(DownloadQueue[3].Status, "Waiting");
}

TEST_F(QueueBinding, AnEmptyQueueUnbindsTheGridWithoutALayout)
{
    form->FillDownloadList();
    EXPECT_EQ(GridRows(), 0);
    EXPECT_FALSE(form->Grid.bGridFormatted);

    form->AddVideoUrl("http://youtube.com/watch?v=1");
    ASSERT_EQ(GridRows(), 1);
    DownloadQueue.clear();
    form->FillDownloadList();
    EXPECT_EQ(GridRows(), 0);
}

TEST_F(QueueBinding, ANestedRebuildIsRefusedAndItsChangeShowsAfterTheNext)
{
    for (int i = 0; i < 3000; ++i) {
        std::string status, size;
        AddItem("http://youtube.com/watch?v=" + std::to_string(i), "Waiting (Auto Detect)", status, size);
    }
    bool ranNested = false;
    bool wasFilling = false;
    QTimer::singleShot(0, [&] {
        ranNested = true;
        wasFilling = form->bFillingList();
        form->AddVideoUrl("http://youtube.com/watch?v=added-during-rebuild");
    });
    form->FillDownloadList();
    EXPECT_TRUE(ranNested) << "window events must run during a rebuild";
    EXPECT_TRUE(wasFilling);
    EXPECT_FALSE(form->bFillingList());
    EXPECT_EQ(DownloadQueue.size(), 3001u);
    EXPECT_EQ(GridRows(), 3000) << "the nested rebuild must not have run";

    form->FillDownloadList();
    EXPECT_EQ(GridRows(), 3001);
    EXPECT_EQ(Cell(3000, colVideoURL), "http://youtube.com/watch?v=added-during-rebuild");
}

TEST_F(QueueBinding, LocateCurrentRowFindsTheRunningItemAgainAfterARebuild)
{
    form->AddVideoUrl("http://youtube.com/watch?v=1");
    form->AddVideoUrl("http://youtube.com/watch?v=2");
    form->Scheduler.State().MoveTo(1);
    form->Scheduler.LocateCurrentRow();
    ASSERT_TRUE(form->Scheduler.State().oCurrentRow().has_value());
    EXPECT_EQ(form->DownloadGrid().CellText(platform::GridCell{*form->Scheduler.State().oCurrentRow(), colID}), "2");

    // A rebuild during a run re-finds the row; the old reference is stale.
    const platform::GridRow before = *form->Scheduler.State().oCurrentRow();
    form->Scheduler.State().BeginRun();
    form->AddVideoUrl("http://youtube.com/watch?v=3");
    form->Scheduler.State().EndRun();
    ASSERT_TRUE(form->Scheduler.State().oCurrentRow().has_value());
    EXPECT_FALSE(*form->Scheduler.State().oCurrentRow() == before);
    EXPECT_EQ(form->DownloadGrid().CellText(platform::GridCell{*form->Scheduler.State().oCurrentRow(), colID}), "2");
    EXPECT_EQ(form->DownloadGrid().CellText(platform::GridCell{before, colID}), "");

    form->Scheduler.State().MoveTo(7);
    form->Scheduler.LocateCurrentRow();
    EXPECT_FALSE(form->Scheduler.State().oCurrentRow().has_value());
}

} // namespace
} // namespace tollivex
