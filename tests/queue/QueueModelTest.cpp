#include "queue/DownloadQueue.h"

#include <gtest/gtest.h>

#include <string>

namespace tollivex {
namespace {

class QueueModel : public ::testing::Test {
protected:
    void SetUp() override { DownloadQueue.clear(); }
    void TearDown() override { DownloadQueue.clear(); }

    static bool Add(const std::string& address, std::string status = "", std::string size = "")
    {
        return AddItem(address, "name", status, size);
    }

    static void ExpectIdsFollowPositions()
    {
        for (size_t i = 0; i < DownloadQueue.size(); ++i)
            EXPECT_EQ(DownloadQueue[i].ID, static_cast<int>(i) + 1) << "at index " << i;
    }
};

TEST_F(QueueModel, AddNumbersItemsAndFillsPlaceholders)
{
    std::string status;
    std::string size;
    ASSERT_TRUE(AddItem("http://a", "file.flv", status, size));
    EXPECT_EQ(status, "Waiting"); // written back to the caller
    EXPECT_EQ(size, "????");
    std::string given = "Link is not supported";
    std::string givenSize = "????";
    ASSERT_TRUE(AddItem("http://b", "ERROR", given, givenSize));
    ASSERT_EQ(DownloadQueue.size(), 2u);
    EXPECT_EQ(DownloadQueue[0].ID, 1);
    EXPECT_EQ(DownloadQueue[0].FileName, "file.flv");
    EXPECT_EQ(DownloadQueue[0].Status, "Waiting");
    EXPECT_EQ(DownloadQueue[0].FileSize, "????");
    EXPECT_EQ(DownloadQueue[1].ID, 2);
    EXPECT_EQ(DownloadQueue[1].Status, "Link is not supported");
}

TEST_F(QueueModel, DuplicatesAreExactAndCaseSensitive)
{
    ASSERT_TRUE(Add("http://youtube.com/watch?v=1"));
    EXPECT_TRUE(Add("http://youtube.com/watch?v=1")); // already there: success, no change
    EXPECT_EQ(DownloadQueue.size(), 1u);
    EXPECT_TRUE(Add("http://YOUTUBE.com/watch?v=1"));
    EXPECT_TRUE(Add(" http://youtube.com/watch?v=1"));
    EXPECT_TRUE(Add(""));
    EXPECT_TRUE(Add(""));
    EXPECT_EQ(DownloadQueue.size(), 4u);
    ExpectIdsFollowPositions();
}

TEST_F(QueueModel, TheSixteenBitIdRangeEndsTheQueueCleanly)
{
    for (int i = 0; i < kMaxQueueItems; ++i)
        ASSERT_TRUE(Add("http://youtube.com/watch?v=" + std::to_string(i)));
    EXPECT_EQ(DownloadQueue.back().ID, 32767);
    EXPECT_FALSE(Add("http://youtube.com/watch?v=one-too-many"));
    EXPECT_EQ(DownloadQueue.size(), static_cast<size_t>(kMaxQueueItems));
    EXPECT_TRUE(Add("http://youtube.com/watch?v=5")); // a queued address is still found
    EXPECT_GT(DownloadQueue.back().ID, 0);
}

TEST_F(QueueModel, RemoveRenumbersTheItemsBehind)
{
    Add("A");
    Add("B");
    Add("C");
    RemoveItem(2);
    ASSERT_EQ(DownloadQueue.size(), 2u);
    EXPECT_EQ(DownloadQueue[0].Video_URL, "A");
    EXPECT_EQ(DownloadQueue[1].Video_URL, "C");
    ExpectIdsFollowPositions();

    RemoveItem(9); // no such ID: unchanged
    EXPECT_EQ(DownloadQueue.size(), 2u);
    RemoveItem(1);
    RemoveItem(1);
    EXPECT_TRUE(IsListEmpty());
    RemoveItem(1); // empty queue: nothing happens
    EXPECT_TRUE(IsListEmpty());
    EXPECT_EQ(QueueUpperBound(), -1);
}

TEST_F(QueueModel, RemoveKeepsEveryFieldOfTheSurvivors)
{
    Add("A", "Complete", "4.8 MB");
    Add("B");
    DownloadQueue[0].FileName = "typed.flv";
    RemoveItem(2);
    ASSERT_EQ(DownloadQueue.size(), 1u);
    EXPECT_EQ(DownloadQueue[0].FileName, "typed.flv");
    EXPECT_EQ(DownloadQueue[0].Status, "Complete");
    EXPECT_EQ(DownloadQueue[0].FileSize, "4.8 MB");
}

TEST_F(QueueModel, MovesSwapNeighboursAndKeepIds)
{
    Add("A");
    Add("B");
    Add("C");
    MoveItemUp(3);
    EXPECT_EQ(DownloadQueue[1].Video_URL, "C");
    EXPECT_EQ(DownloadQueue[2].Video_URL, "B");
    EXPECT_EQ(DownloadQueue[2].ID, 3);
    ExpectIdsFollowPositions();

    MoveItemUp(1);   // first item: unchanged
    MoveItemDown(3); // last item: unchanged
    EXPECT_EQ(DownloadQueue[0].Video_URL, "A");
    EXPECT_EQ(DownloadQueue[2].Video_URL, "B");

    MoveItemDown(1);
    EXPECT_EQ(DownloadQueue[0].Video_URL, "C");
    EXPECT_EQ(DownloadQueue[1].Video_URL, "A");
    ExpectIdsFollowPositions();

    DownloadQueue.resize(1);
    MoveItemUp(1);
    MoveItemDown(1);
    EXPECT_EQ(DownloadQueue[0].Video_URL, "C");
}

TEST_F(QueueModel, UpdateOverwritesOnlyGivenFields)
{
    Add("A");
    UpdateItem(1, "", "new.flv", "", "");
    EXPECT_EQ(DownloadQueue[0].FileName, "new.flv");
    EXPECT_EQ(DownloadQueue[0].Video_URL, "A");
    EXPECT_EQ(DownloadQueue[0].Status, "Waiting");
    UpdateItem(1, "B", "", "Complete", "1 KB");
    EXPECT_EQ(DownloadQueue[0].Video_URL, "B");
    EXPECT_EQ(DownloadQueue[0].Status, "Complete");
    EXPECT_EQ(DownloadQueue[0].FileSize, "1 KB");
    UpdateItem(7, "x", "x", "x", "x"); // out of range: ignored
    UpdateItem(0, "x", "x", "x", "x");
    EXPECT_EQ(DownloadQueue[0].Video_URL, "B");
}

} // namespace
} // namespace tollivex
