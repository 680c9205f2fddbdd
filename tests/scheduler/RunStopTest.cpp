// Stopping a run from events nested inside it, starts that arrive while it
// unwinds, and the list changing under a running item.

#include "RunFixture.h"

#include "queue/DownloadQueue.h"

#include <QElapsedTimer>
#include <QTimer>

namespace tollivex::test {
namespace {

using Variables = std::vector<std::pair<std::string, std::string>>;

class RunStop : public RunFixture {
protected:
    static bool ContainsVariable(const Variables& vars, const std::string& name, const std::string& value)
    {
        for (const auto& v : vars)
            if (v.first == name && v.second == value)
                return true;
        return false;
    }
};

TEST_F(RunStop, AStopConfirmedDuringTheTransferCancelsOnlyThatItem)
{
    ServeThree();
    bool asked = false;
    onProgress = [&](const EventRecord& r) {
        // The user presses stop while the second video arrives; the click is
        // handled inside the transfer's event pass.
        if (!asked && r.index == 1 && !r.fetchingPage && r.progress >= 20) {
            asked = true;
            QTimer::singleShot(0, [&] { form->Scheduler.cmdStartDownload_Click(); });
        }
    };

    Run();

    ASSERT_TRUE(asked);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Are you sure that you want to cancel downloading?");
    EXPECT_EQ(messages[0].title, "Tollivex");
    EXPECT_EQ(messages[0].buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(messages[0].icon, platform::MessageIcon::Question);
    EXPECT_EQ(ItemStatus(0), "Complete");
    EXPECT_EQ(ItemStatus(1), "Cancelled");
    EXPECT_EQ(ItemStatus(2), "Waiting");
    EXPECT_EQ(DownloadQueue[2].FileName, "Waiting (Auto Detect)");
    EXPECT_EQ(server->RequestCount("/c.html"), 0);
    EXPECT_FALSE(form->Scheduler.State().bDownloading());
    EXPECT_EQ(form->Scheduler.cmdStartDownload.Caption, "Start Downloading");
    EXPECT_EQ(form->frmMenu.mnuDownload, "Start Downloading");
    // Started, then the cancel's order; the normal end writes nothing more.
    const Variables expected = {{"_root.downloadBtn", "0"}, {"_root.startDownload", "0"}, {"_root.downloadTab", "0"},
                                {"_root.downloadBtn", "1"}, {"_root.startDownload", "1"}, {"_root.downloadTab", "1"}};
    EXPECT_EQ(movieVariables, expected);

    // The next run takes the cancelled item and the waiting one.
    onProgress = nullptr;
    Run();
    EXPECT_EQ(ItemStatus(1), "Complete");
    EXPECT_EQ(ItemStatus(2), "Complete");
    EXPECT_TRUE(FileHolds("b.flv", VideoBytes(20000, 'b')));
}

TEST_F(RunStop, AStopIsStillTakenWhenTheRunningItemWasRemovedFromTheList)
{
    ServePage("/a.html", "/a.flv");
    ServeSlowly("/a.flv", VideoBytes(200000, 'a'), 2048, 10);
    Queue(PageAddress("/a.html"));
    bool removed = false;
    bool stopped = false;
    onProgress = [&](const EventRecord& r) {
        if (r.fetchingPage)
            return;
        if (!removed) {
            // The user removes the downloading item: the list is now empty.
            removed = true;
            QTimer::singleShot(0, [&] {
                form->Grid.SelectAll();
                form->Grid.RemoveSelected();
            });
        } else if (!stopped && DownloadQueue.empty()) {
            stopped = true; // and then presses stop
            QTimer::singleShot(0, [&] { form->Scheduler.cmdStartDownload_Click(); });
        }
    };
    Run();

    ASSERT_TRUE(stopped);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Are you sure that you want to cancel downloading?");
    EXPECT_FALSE(form->Scheduler.State().bDownloading());
    EXPECT_EQ(form->Scheduler.cmdStartDownload.Caption, "Start Downloading");
    // The transfer ended there: the video was not fetched to its end.
    EXPECT_FALSE(FileHolds("a.flv", VideoBytes(200000, 'a')));
}

TEST_F(RunStop, AStopConfirmedDuringThePageFetchCancelsBeforeAnyVideo)
{
    server->Route("/slow.html", [this](const HttpTestRequest& request, HttpTestConnection& c) {
        const std::string page = "<embed src=\"" + server->Url("/slow.flv") + "\">" + std::string(6000, ' ');
        c.Send(HttpTestServer::ResponseHead(200, "OK", {{"Content-Length", std::to_string(page.size())}}));
        if (request.method != "HEAD")
            c.SendSlowly(page, 1024, 20);
    });
    server->Serve("/slow.flv", VideoBytes(3000));
    ServePage("/next.html", "/next.flv");
    Queue(PageAddress("/slow.html"));
    Queue(PageAddress("/next.html"));
    bool asked = false;
    onProgress = [&](const EventRecord& r) {
        if (!asked && r.fetchingPage) {
            asked = true;
            form->Scheduler.cmdStartDownload_Click(); // directly, nested in the page's progress event
        }
    };

    Run();

    ASSERT_TRUE(asked);
    EXPECT_EQ(ItemStatus(0), "Cancelled");
    EXPECT_EQ(ItemStatus(1), "Waiting");
    EXPECT_EQ(server->RequestCount("/slow.flv"), 0);
    EXPECT_EQ(server->RequestCount("/next.html"), 0);
    EXPECT_FALSE(form->Scheduler.State().bFetchingPage());
    EXPECT_FALSE(form->Scheduler.State().bDownloading());
}

TEST_F(RunStop, AnsweringNoLetsTheRunGoOn)
{
    ServeThree();
    yesNoAnswer = platform::MessageAnswer::No;
    bool asked = false;
    onProgress = [&](const EventRecord& r) {
        if (!asked && r.index == 0 && !r.fetchingPage) {
            asked = true;
            form->Scheduler.cmdStartDownload_Click();
        }
    };
    Run();
    EXPECT_EQ(messages.size(), 1u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ItemStatus(i), "Complete") << i;
    EXPECT_EQ(form->Scheduler.cmdStartDownload.Caption, "Start Downloading");
}

TEST_F(RunStop, AStartWhileAStoppedRunUnwindsWaitsForItsEnd)
{
    ServeThree();
    int stage = 0;
    bool startedInside = false;
    onProgress = [&](const EventRecord& r) {
        if (stage == 0 && r.index == 0 && !r.fetchingPage) {
            stage = 1;
            form->Scheduler.cmdStartDownload_Click(); // stop, confirmed
            // The captions read "Start Downloading" again; a start comes in
            // (movie, tray, clipboard) before the transfer has seen the stop.
            const size_t before = events.size();
            form->Scheduler.cmdStartDownload_Click();
            startedInside = events.size() != before;
        }
    };
    Run();

    EXPECT_FALSE(startedInside);
    EXPECT_EQ(ItemStatus(0), "Cancelled");
    EXPECT_EQ(ItemStatus(1), "Waiting");
    EXPECT_EQ(server->RequestCount("/b.html"), 0);
    EXPECT_EQ(messages.size(), 1u); // only the stop's question
    // The start was kept for the moment the run had ended.
    EXPECT_TRUE(form->Scheduler.tmrDownload.Enabled());
    onProgress = nullptr;
    WaitUntil([&] { return ItemStatus(2) == "Complete"; }, 10000);
    EXPECT_FALSE(form->Scheduler.tmrDownload.Enabled());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ItemStatus(i), "Complete") << i;
}

TEST_F(RunStop, EndingTheProgramDuringATransferEndsTheRunWithoutFurtherWork)
{
    ServeThree();
    yesNoAnswer = platform::MessageAnswer::No; // even a "No" cannot keep an ending program running
    bool ended = false;
    onProgress = [&](const EventRecord& r) {
        if (!ended && r.index == 0 && !r.fetchingPage) {
            ended = true;
            form->EndMe();
        }
    };
    Run();

    ASSERT_TRUE(ended);
    EXPECT_TRUE(form->Ended());
    EXPECT_FALSE(form->Scheduler.State().bDownloading());
    EXPECT_NE(ItemStatus(0), "Complete");
    EXPECT_EQ(ItemStatus(1), "Waiting");
    EXPECT_EQ(ItemStatus(2), "Waiting");
    EXPECT_EQ(server->RequestCount("/b.html"), 0);
    // The transfer stopped at its next read: far fewer than the ten reads of the video.
    int videoEvents = 0;
    for (const EventRecord& r : events)
        videoEvents += (r.event == "progress" && !r.fetchingPage) ? 1 : 0;
    EXPECT_LE(videoEvents, 2);
}

// A server that accepts and then says nothing, in each wait of the run: the
// page's own information request, the page's answer, the video's information
// request, the video's answer. A stop or a close ends the run at once (well
// under the 5 s stall time-out set here) and asks the server nothing more.
TEST_F(RunStop, AStopOrCloseEndsEveryWaitOnASilentServerAtOnce)
{
    struct Row {
        const char* path;   // the silent route
        const char* method; // the request that gets no answer
    };
    const Row rows[] = {{"/p.html", "HEAD"}, {"/p.html", "GET"}, {"/p.flv", "HEAD"}, {"/p.flv", "GET"}};
    for (const bool close : {false, true}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.method) + " " + row.path + (close ? " close" : " stop"));
            TearDown();
            SetUp();
            ServePage("/p.html", "/p.flv");
            server->Serve("/p.flv", VideoBytes(3000));
            ServePage("/next.html", "/next.flv");
            const std::string silentPath = row.path;
            const std::string silentMethod = row.method;
            const std::string page = "<embed src=\"" + server->Url("/p.flv") + "\">";
            server->Route(silentPath, [=](const HttpTestRequest& request, HttpTestConnection& c) {
                if (request.method == silentMethod) {
                    c.Pause(60000); // ends early when the server stops
                    return;
                }
                const std::string body = silentPath == "/p.html" ? page : VideoBytes(3000);
                c.Send(HttpTestServer::Response(200, "OK", request.method == "HEAD" ? "" : body,
                                                {{"Content-Length", std::to_string(body.size())}}));
            });
            Queue(PageAddress("/p.html"));
            Queue(PageAddress("/next.html"));

            QElapsedTimer sincePress;
            QTimer press;
            press.setInterval(20);
            QObject::connect(&press, &QTimer::timeout, [&] {
                for (const auto& request : server->Requests()) {
                    if (request.path != silentPath || request.method != silentMethod || sincePress.isValid())
                        continue;
                    sincePress.start();
                    press.stop();
                    if (close)
                        form->EndMe();
                    else
                        form->Scheduler.cmdStartDownload_Click();
                    break;
                }
            });
            press.start();
            Run();

            ASSERT_TRUE(sincePress.isValid());
            EXPECT_LT(sincePress.elapsed(), 2500);
            EXPECT_FALSE(form->Scheduler.State().bDownloading());
            EXPECT_FALSE(form->Scheduler.State().bFetchingPage());
            // An ending program leaves the item as it was; the list is not kept.
            EXPECT_EQ(ItemStatus(0), close ? ItemStatus(0) : "Cancelled");
            EXPECT_NE(ItemStatus(0), "Complete");
            EXPECT_EQ(ItemStatus(1), "Waiting");
            // Nothing was asked after the press.
            const auto requests = server->Requests();
            ASSERT_FALSE(requests.empty());
            EXPECT_EQ(requests.back().path, silentPath);
            EXPECT_EQ(requests.back().method, silentMethod);
            EXPECT_EQ(server->RequestCount("/next.html"), 0);
        }
    }
}

TEST_F(RunStop, AnItemAddedDuringTheLastTransferIsTakenInTheSameRun)
{
    ServePage("/a.html", "/a.flv");
    ServeSlowly("/a.flv", VideoBytes(12000), 2048, 10);
    ServePage("/late.html", "/late.flv");
    server->Serve("/late.flv", VideoBytes(2500, 'l'));
    ServePage("/later.html", "/later.flv");
    server->Serve("/later.flv", VideoBytes(2600, 'm'));
    Queue(PageAddress("/a.html"));
    // A later item that turns out unsupported is skipped, and the bound is
    // read again after it too.
    bool added = false;
    onProgress = [&](const EventRecord& r) {
        if (!added && r.index == 0 && !r.fetchingPage) {
            added = true;
            Queue("http://example.org/unsupported");
            Queue(PageAddress("/late.html"));
        }
        if (r.index == 2 && !r.fetchingPage && DownloadQueue.size() == 3)
            Queue(PageAddress("/later.html"));
    };
    Run();

    ASSERT_EQ(DownloadQueue.size(), 4u);
    EXPECT_EQ(ItemStatus(0), "Complete");
    EXPECT_EQ(ItemStatus(1), "ERROR");
    EXPECT_EQ(ItemStatus(2), "Complete");
    EXPECT_EQ(ItemStatus(3), "Complete");
    EXPECT_TRUE(FileHolds("late.flv", VideoBytes(2500, 'l')));
    EXPECT_TRUE(FileHolds("later.flv", VideoBytes(2600, 'm')));
}

TEST_F(RunStop, TheRunNeverWritesIntoAnotherItemWhenItsOwnIsRemovedOrMoved)
{
    ServeThree();
    bool removed = false;
    std::vector<std::string> secondWhileFirstRan;
    onProgress = [&](const EventRecord& r) {
        if (!removed && r.index == 0 && !r.fetchingPage) {
            // The user removes the running item; the others move up.
            removed = true;
            RemoveItem(1);
            form->FillDownloadList();
        }
        if (removed && server->RequestCount("/b.html") == 0)
            secondWhileFirstRan.push_back(DownloadQueue[0].Status);
    };
    Run();

    ASSERT_TRUE(removed);
    ASSERT_EQ(DownloadQueue.size(), 2u);
    for (const std::string& s : secondWhileFirstRan)
        EXPECT_EQ(s, "Waiting");
    EXPECT_EQ(DownloadQueue[0].Video_URL, PageAddress("/b.html"));
    EXPECT_EQ(ItemStatus(0), "Complete");
    EXPECT_EQ(ItemStatus(1), "Complete");

    // Moving the running item down: its progress and its end follow it.
    DownloadQueue.clear();
    events.clear();
    ServeThree();
    bool moved = false;
    onProgress = [&](const EventRecord& r) {
        if (!moved && r.index == 0 && !r.fetchingPage) {
            moved = true;
            MoveItemDown(1);
            form->FillDownloadList();
        }
    };
    Run();
    ASSERT_TRUE(moved);
    EXPECT_EQ(DownloadQueue[1].Video_URL, PageAddress("/a.html"));
    EXPECT_EQ(ItemStatus(1), "Complete");
    EXPECT_EQ(ItemStatus(0), "Complete"); // b, now first, was taken after a
    EXPECT_EQ(ItemStatus(2), "Complete");
}

} // namespace
} // namespace tollivex::test
