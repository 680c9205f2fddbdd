// Speed and time left: the text as a function of timed byte counts, and the
// running item's tool tip during a real transfer.

#include "RunFixture.h"

#include "platform/gui/TableGrid.h"
#include "queue/DownloadListTable.h"
#include "scheduler/TransferRate.h"

#include <QAbstractItemModel>
#include <QTableView>

namespace tollivex::test {
namespace {

constexpr std::int64_t MB = 1048576;

TEST(TransferRate, SpeedAndTimeLeftComeFromTheLastFewSeconds)
{
    const std::int64_t rate = 2411725; // 2.3 MB/s
    const struct {
        std::deque<TimedBytes> samples;
        double announced;
        std::string text;
    } cases[] = {
        {{{0, 0}}, 10 * MB, ""},
        {{{0, 0}, {0.5, MB}}, 10 * MB, ""}, // less than a second measured
        {{{0, 0}, {4, 4 * rate}}, 44.0 * rate, "2.3 MB/s, about 40 s left"},
        {{{0, 0}, {1, MB}}, 2 * MB, "1 MB/s, about 1 s left"},
        // Only the last five seconds count: 2 MB/s now, not 1.4 MB/s since the start.
        {{{0, 0}, {6, 6 * MB}, {8, 8 * MB}, {10, 14 * MB}}, 54 * MB, "2 MB/s, about 20 s left"},
        {{{0, 0}, {6, 6 * MB}, {8, 8 * MB}, {10, 14 * MB}}, -1, "2 MB/s"}, // size unknown
        {{{0, 500}, {2, 500}}, 1000, "0 Bytes/s"},                         // nothing arrives
        {{{0, 0}, {2, 2048}}, 2048, "1 KB/s"},                             // all there
        {{{0, 0}, {60, 60 * 1024}}, 3 * 3600.0 * 1024, "1 KB/s, about 2 h 59 min left"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RateText(c.samples, c.announced), c.text) << c.samples.size() << " samples";

    const std::pair<double, const char*> left[] = {{0.2, "about 1 s left"},   {7.2, "about 8 s left"},
                                                   {37, "about 35 s left"},   {59.5, "about 1 min left"},
                                                   {150, "about 3 min left"}, {7200, "about 2 h left"}};
    for (const auto& [seconds, text] : left)
        EXPECT_EQ(TimeLeftText(seconds), text) << seconds;
}

TEST(TransferRate, SamplesAreTakenTwiceASecondAndANewTransferStartsAfresh)
{
    TransferRate rate;
    EXPECT_TRUE(rate.Add(0, 0, 8 * MB));
    EXPECT_FALSE(rate.Add(0.2, MB / 4, 8 * MB));
    EXPECT_TRUE(rate.Add(1, MB, 8 * MB));
    EXPECT_EQ(rate.Text(), "1 MB/s, about 7 s left");
    EXPECT_TRUE(rate.Add(1.5, 0, 8 * MB)); // fewer bytes: the next transfer
    EXPECT_EQ(rate.Text(), "");
}

TEST_F(RunFixture, TheDownloadingRowsToolTipAndDescriptionTellSpeedAndTimeLeft)
{
    ServePage("/a.html", "/a.flv");
    ServeSlowly("/a.flv", VideoBytes(40960), 2048, 100); // 20 KB/s for two seconds
    Queue(PageAddress("/a.html"));
    std::string tip;
    QString description;
    onProgress = [&](const EventRecord& r) {
        if (r.fetchingPage || !tip.empty())
            return;
        tip = StatusTip(0);
        auto* view = static_cast<platform::TableGrid&>(form->DownloadGrid()).View();
        description = view->model()->index(0, colFileName).data(Qt::AccessibleDescriptionRole).toString();
        if (tip.find("/s") == std::string::npos)
            tip.clear();
    };
    Run();
    ASSERT_EQ(ItemStatus(0), "Complete");
    EXPECT_TRUE(tip.find(" KB/s, about ") != std::string::npos && tip.find(" s left") != std::string::npos) << tip;
    EXPECT_EQ(description.toStdString(), tip);
    EXPECT_EQ(StatusTip(0), ""); // finished: no speed any more
}

} // namespace
} // namespace tollivex::test
