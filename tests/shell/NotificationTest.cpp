// Desktop notifications of finished items: the decision as a table, and whole
// runs with the window out of sight, told to a notification service on the
// test's own session bus that logs what it is asked.
#include "scheduler/RunFixture.h"

#include "platform/gui/MainWindowHost.h"
#include "platform/gui/TableGrid.h"
#include "queue/DownloadQueue.h"
#include "scheduler/FinishNotices.h"
#include "support/PrivateDesktop.h"

#include <QItemSelectionModel>
#include <QJsonArray>
#include <QTableView>

#include <map>

namespace tollivex::test {
namespace {

TEST(FinishNotices, OnlyItemsEndingOutOfSightAreAnnouncedAndSeveralAreSummedUp)
{
    const WindowPresence active{true, false, true}, inactive{true, false, false}, minimized{true, true, false},
        hidden{false, false, false};
    const struct {
        WindowPresence window;
        ItemEnd end;
        bool notify;
    } cases[] = {
        {active, ItemEnd::Complete, false}, {active, ItemEnd::Failed, false},     {inactive, ItemEnd::Complete, true},
        {inactive, ItemEnd::Failed, true},  {minimized, ItemEnd::Complete, true}, {hidden, ItemEnd::Failed, true},
        {hidden, ItemEnd::Other, false},    {minimized, ItemEnd::Other, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NotifyOfEnd(c.window, c.end), c.notify) << c.window.visible << c.window.minimized << c.window.active;

    const struct {
        std::vector<ItemEnd> ends;
        bool summary;
        std::string text;
    } runs[] = {
        {{ItemEnd::Complete}, false, "1 video complete"},
        {{ItemEnd::Failed, ItemEnd::Other}, false, "1 video failed"},
        {{ItemEnd::Failed, ItemEnd::Failed}, true, "2 videos failed"},
        {{ItemEnd::Complete, ItemEnd::Complete, ItemEnd::Failed, ItemEnd::Complete},
         true,
         "3 videos complete, 1 failed"},
    };
    for (const auto& run : runs) {
        AwayTally tally;
        for (const ItemEnd end : run.ends)
            tally.Count(end);
        EXPECT_EQ(tally.NeedsSummary(), run.summary) << run.text;
        EXPECT_EQ(tally.Summary(), run.text);
    }
}

class Notifications : public RunFixture {
protected:
    void SetUp() override
    {
        if (!desktop.Failure().empty())
            GTEST_SKIP() << desktop.Failure();
        RunFixture::SetUp();
    }
    /// The notifications left open, by number: what the service shows now.
    std::map<int, QJsonObject> Open() const
    {
        std::map<int, QJsonObject> open;
        for (const QJsonObject& call : desktop.Calls()) {
            if (call["call"] == "Notify")
                open[call["id"].toInt()] = call;
            else if (call["call"] == "CloseNotification")
                open.erase(call["id"].toInt());
        }
        return open;
    }
    PrivateDesktop desktop;
};

TEST_F(Notifications, ItemsEndingOutOfSightAreAnnouncedSummedUpAndLeadBackToTheirRow)
{
    // The window is hidden all along, as in the tray.
    ServePage("/a.html", "/a.flv");
    server->Serve("/a.flv", VideoBytes(3000), {{"Content-Type", "video/x-flv"}});
    Queue(PageAddress("/a.html"));
    Run();
    ASSERT_TRUE(desktop.WaitForCalls(1, 5000));
    const QJsonObject first = desktop.Calls().front();
    EXPECT_EQ(first["summary"], "a.flv");
    EXPECT_EQ(first["body"], "Complete");
    EXPECT_EQ(first["category"], "transfer.complete");
    EXPECT_EQ(first["entry"], "org.example.tollivex.Tollivex");
    EXPECT_EQ(first["actions"].toArray().first(), "default");

    // Two items end in the next run: their notices give way to one summary.
    ServePage("/b.html", "/b.flv");
    server->Serve("/b.flv", VideoBytes(2000), {{"Content-Type", "video/x-flv"}});
    Queue(PageAddress("/b.html"));
    Queue("http://example.org/not-a-video-site");
    Run();
    ASSERT_TRUE(desktop.WaitForCalls(6, 5000));
    std::vector<std::string> told;
    for (const QJsonObject& call : desktop.Calls()) {
        if (call["call"] == "Notify")
            told.push_back((call["summary"].toString() + ": " + call["body"].toString()).toStdString());
    }
    EXPECT_EQ(told, (std::vector<std::string>{"a.flv: Complete", "b.flv: Complete",
                                              "Un supported link: The address is not of a supported site.",
                                              "Tollivex: 1 video complete, 1 failed"}));
    const auto open = Open();
    ASSERT_EQ(open.size(), 2u);
    EXPECT_EQ(open.begin()->second["summary"], "a.flv"); // the earlier run's notice stays
    const QJsonObject summary = open.rbegin()->second;
    EXPECT_EQ(summary["body"], "1 video complete, 1 failed");

    // A click on the summary brings the window up at the last item's row.
    desktop.Click(static_cast<unsigned>(summary["id"].toInt()));
    WaitUntil([&] { return form->Window().IsVisible(); }, 5000);
    ASSERT_TRUE(form->Window().IsVisible());
    QTableView* view = static_cast<platform::TableGrid&>(form->DownloadGrid()).View();
    EXPECT_EQ(view->currentIndex().row(), 2);
    EXPECT_TRUE(view->selectionModel()->isRowSelected(2, {}));
    EXPECT_TRUE(form->DownloadGrid().IsVisible());
    EXPECT_EQ(form->sCurrentTab, "Download");
    EXPECT_EQ(movieVariables.back(), (std::pair<std::string, std::string>{"_root.page", "Download"}));
}

} // namespace
} // namespace tollivex::test
