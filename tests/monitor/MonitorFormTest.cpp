// The clipboard monitor's routines on a real main window: deliveries into
// txtMonitor, switching the watcher, and the polling pass.

#include "MonitorTestSupport.h"
#include "platform/gui/LocalSocketMailbox.h"
#include "platform/gui/MovieHost.h"
#include "platform/window/MailboxChannel.h"
#include "platform/window/MessageBox.h"
#include "platform/window/seams/WindowTestSeams.h"
#include "queue/DownloadListTable.h"
#include "queue/DownloadQueue.h"
#include "shell/FormFactory.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tollivex {
namespace {

const std::string kYouTube = "http://www.youtube.com/watch?v=abc";
const std::string kDailyMotion = "http://www.dailymotion.com/video/x1";
const std::string kUnsupported = "http://example.org/clip";

class MonitorForm : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::UsePrivateRuntimeFolder(); }

    void SetUp() override
    {
        DownloadQueue.clear();
        rsDownloadList.reset();
        bUrlMonitor = false;
        sDownloadDir = "/nonexistent-test-folder";
        form = std::make_unique<frmMain>(CreateFormControls());
        // The toggle, when it runs, meets a run it may cancel: the question
        // says it ran, and answering No keeps everything as it was.
        form->Scheduler.cmdStartDownload.Caption = "Stop Downloading";
        platform::SetMessageAnswerer([this](const platform::MessageRequest& request) {
            if (request.text == "Are you sure that you want to cancel downloading?")
                ++toggles;
            else
                ++otherMessages;
            return platform::MessageAnswer::No;
        });
    }
    void TearDown() override
    {
        form->Clipboard.tmrMonitor.SetEnabled(false);
        form->Scheduler.tmrDownload.SetEnabled(false);
        if (bUrlMonitor)
            form->Monitor(false);
        form.reset();
        platform::SetMessageAnswerer({});
        DownloadQueue.clear();
        rsDownloadList.reset();
        bUrlMonitor = false;
        sDownloadDir.clear();
    }

    platform::LocalSocketMailbox& Mailbox() { return dynamic_cast<platform::LocalSocketMailbox&>(form->txtMonitor()); }
    std::string VideoUrl() { return form->Flash().GetVariable("_root.video_url"); }
    static void SetClipboard(const std::string& text)
    {
        QGuiApplication::clipboard()->setText(QString::fromStdString(text));
    }

    std::unique_ptr<frmMain> form;
    int toggles = 0;
    int otherMessages = 0;
};

TEST_F(MonitorForm, DeliveryQueuesTheTextAndArmsTheRunOnlyWhenNoneIsActive)
{
    form->txtMonitor().SetText(kYouTube);
    ASSERT_EQ(DownloadQueue.size(), 1u);
    EXPECT_EQ(DownloadQueue[0].Video_URL, kYouTube);
    EXPECT_EQ(DownloadQueue[0].Status, "Waiting");
    EXPECT_EQ(VideoUrl(), kYouTube);
    EXPECT_TRUE(form->Scheduler.tmrDownload.Enabled());
    EXPECT_EQ(form->txtMonitor().Text(), "");

    // During a run: queued, the timer stays off, the box is emptied; no test
    // is made on the text, the queue marks what it cannot download.
    form->Scheduler.tmrDownload.SetEnabled(false);
    form->Scheduler.State().BeginRun();
    form->txtMonitor().SetText(kUnsupported);
    form->Scheduler.State().EndRun();
    ASSERT_EQ(DownloadQueue.size(), 2u);
    EXPECT_EQ(DownloadQueue[1].FileName, "ERROR");
    EXPECT_EQ(DownloadQueue[1].Status, "Link is not supported");
    EXPECT_EQ(VideoUrl(), kUnsupported);
    EXPECT_FALSE(form->Scheduler.tmrDownload.Enabled());
    EXPECT_EQ(form->txtMonitor().Text(), "");

    // An address already queued is not queued twice.
    form->txtMonitor().SetText(kYouTube);
    EXPECT_EQ(DownloadQueue.size(), 2u);
    EXPECT_TRUE(form->Scheduler.tmrDownload.Enabled());
    form->Scheduler.tmrDownload.SetEnabled(false);
    EXPECT_EQ(toggles, 0);
}

TEST_F(MonitorForm, SocketDeliveriesAreQueuedInOrderAndTheRunStartsThroughTheToggle)
{
    QLocalSocket watcher;
    watcher.connectToServer(platform::MailboxServerName(QString::fromStdString(form->txtMonitor().Identity())));
    ASSERT_TRUE(watcher.waitForConnected(2000));
    watcher.write(platform::FrameDelivery(QString::fromStdString(kYouTube)) +
                  platform::FrameDelivery(QString::fromStdString(kDailyMotion)) +
                  platform::FrameDelivery(QString::fromStdString(kUnsupported)));
    watcher.flush();
    ASSERT_TRUE(test::WaitUntil([] { return DownloadQueue.size() == 3; }, 3000));
    EXPECT_EQ(DownloadQueue[0].Video_URL, kYouTube);
    EXPECT_EQ(DownloadQueue[1].Video_URL, kDailyMotion);
    EXPECT_EQ(DownloadQueue[2].Video_URL, kUnsupported);
    EXPECT_EQ(form->txtMonitor().Text(), "");
    // The one-shot timer runs the toggle once, about 200 ms later.
    ASSERT_TRUE(test::WaitUntil([&] { return toggles > 0; }, 3000));
    test::WaitUntil([] { return false; }, 400);
    EXPECT_EQ(toggles, 1);
    EXPECT_FALSE(form->Scheduler.tmrDownload.Enabled());
}

TEST_F(MonitorForm, MonitorStartsTheWatcherWithTheMailboxIdentityAndExitStopsIt)
{
    // The real watcher beside the test program connects to this window's mailbox.
    form->Monitor(true);
    EXPECT_TRUE(bUrlMonitor);
    ASSERT_TRUE(test::WaitUntil([&] { return Mailbox().ConnectionCount() == 1; }, 10000));

    // Switching on again starts the file again; still one watcher delivers.
    form->Monitor(true);
    test::WaitUntil([] { return false; }, 1000);
    EXPECT_EQ(Mailbox().ConnectionCount(), 1);

    form->Monitor(false);
    EXPECT_FALSE(bUrlMonitor);
    EXPECT_TRUE(test::WaitUntil([&] { return Mailbox().ConnectionCount() == 0; }, 10000));

    // Off while no watcher runs still starts the file with "Exit"; nothing breaks.
    form->Monitor(false);
    EXPECT_FALSE(bUrlMonitor);
}

TEST_F(MonitorForm, AfterSwitchingOffNoWatcherDelivers)
{
    // On and at once off: the watcher started for the first switch may still
    // be starting up. Neither it nor a watcher connected before reaches the queue.
    QLocalSocket connected;
    connected.connectToServer(platform::MailboxServerName(QString::fromStdString(form->txtMonitor().Identity())));
    ASSERT_TRUE(connected.waitForConnected(2000));
    form->Monitor(true);
    const std::string identity = form->txtMonitor().Identity();
    form->Monitor(false);
    EXPECT_FALSE(bUrlMonitor);
    connected.write(platform::FrameDelivery(QString::fromStdString(kYouTube)));
    connected.flush();
    QLocalSocket late;
    late.connectToServer(platform::MailboxServerName(QString::fromStdString(identity)));
    EXPECT_FALSE(late.waitForConnected(500));
    QProcess lateWatcher;
    lateWatcher.start(test::WatcherProgram(), {QString::fromStdString(identity)});
    ASSERT_TRUE(lateWatcher.waitForStarted(5000));
    EXPECT_TRUE(test::WaitUntil([&] { return lateWatcher.state() == QProcess::NotRunning; }, 10000));
    EXPECT_TRUE(DownloadQueue.empty());
    EXPECT_FALSE(form->Scheduler.tmrDownload.Enabled());

    // On again: a new identity, and the watcher delivers.
    form->Monitor(true);
    EXPECT_NE(form->txtMonitor().Identity(), identity);
    ASSERT_TRUE(test::WaitUntil([&] { return Mailbox().ConnectionCount() == 1; }, 10000));
}

TEST_F(MonitorForm, WithoutAPrivateFolderTheMonitorStaysOffAndSaysSoOnce)
{
    QTemporaryDir shared;
    QFile::setPermissions(shared.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                             QFileDevice::WriteGroup | QFileDevice::WriteOther);
    platform::SetRuntimeFolder(shared.path().toStdString());
    form->txtMonitor().Close();
    form->SetMovieVariable("_root.autoToDownloadList_CB", "1"); // the user ticked the box
    form->Flash_FSCommand("ID_FS_autoDownloadCheck", "");
    EXPECT_FALSE(bUrlMonitor);
    EXPECT_EQ(form->Flash().GetVariable("_root.autoToDownloadList_CB"), "0");
    EXPECT_EQ(otherMessages, 1);
    form->mnuMonitor_Click();
    EXPECT_FALSE(bUrlMonitor);
    EXPECT_FALSE(form->frmMenu.mnuMonitorChecked);
    EXPECT_EQ(otherMessages, 1) << "told once";
    EXPECT_TRUE(QDir(shared.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).isEmpty());
    platform::SetRuntimeFolder("");
}

TEST_F(MonitorForm, PollingTakesEachNewSupportedTextOnce)
{
    // The switch flips with every click, whatever the box shows.
    form->Clipboard.sLastClipboard = "stale";
    form->Clipboard.chkMonitor_Click();
    EXPECT_TRUE(form->Clipboard.tmrMonitor.Enabled());
    EXPECT_TRUE(bUrlMonitor);
    EXPECT_EQ(form->Clipboard.sLastClipboard, "");
    EXPECT_EQ(form->Clipboard.tmrMonitor.Interval(), 2000);
    form->Clipboard.tmrMonitor.SetEnabled(false); // the passes below are run by hand

    // A supported address already on the clipboard: queued, and the run starts at once.
    SetClipboard(kYouTube);
    form->Clipboard.tmrMonitor_Timer();
    ASSERT_EQ(DownloadQueue.size(), 1u);
    EXPECT_EQ(VideoUrl(), kYouTube);
    EXPECT_EQ(form->Clipboard.sLastClipboard, kYouTube);
    EXPECT_EQ(toggles, 1);
    form->Clipboard.tmrMonitor_Timer();
    EXPECT_EQ(DownloadQueue.size(), 1u);
    EXPECT_EQ(toggles, 1);

    // An unsupported site: nothing queued, not examined again while it stays.
    SetClipboard(kUnsupported);
    form->Clipboard.tmrMonitor_Timer();
    EXPECT_EQ(DownloadQueue.size(), 1u);
    EXPECT_EQ(form->Clipboard.sLastClipboard, kUnsupported);
    EXPECT_EQ(VideoUrl(), kYouTube);

    // During a run: queued, no second start.
    form->Scheduler.State().BeginRun();
    SetClipboard(kDailyMotion);
    form->Clipboard.tmrMonitor_Timer();
    ASSERT_EQ(DownloadQueue.size(), 2u);
    EXPECT_EQ(DownloadQueue[1].Video_URL, kDailyMotion);
    EXPECT_EQ(toggles, 1);
    form->Scheduler.State().EndRun();

    // Copying the first address again after something else offers it again;
    // the queue leaves the duplicate out.
    SetClipboard(kYouTube);
    form->Clipboard.tmrMonitor_Timer();
    EXPECT_EQ(DownloadQueue.size(), 2u);
    EXPECT_EQ(toggles, 2);

    // The clipboard emptied: an empty text is remembered, nothing queued.
    QGuiApplication::clipboard()->clear();
    form->Clipboard.tmrMonitor_Timer();
    EXPECT_EQ(form->Clipboard.sLastClipboard, "");
    EXPECT_EQ(DownloadQueue.size(), 2u);

    // Switching off flips back, and the text on the clipboard counts as new.
    form->Clipboard.tmrMonitor.SetEnabled(true);
    form->Clipboard.sLastClipboard = kYouTube;
    form->Clipboard.chkMonitor_Click();
    EXPECT_FALSE(form->Clipboard.tmrMonitor.Enabled());
    EXPECT_FALSE(bUrlMonitor);
    EXPECT_EQ(form->Clipboard.sLastClipboard, "");
    EXPECT_EQ(otherMessages, 0);
}

TEST_F(MonitorForm, StartsFromTimerTicksWaitUntilTheRebuildHasEnded)
{
    for (int i = 0; i < 20; ++i) {
        std::string status, size;
        AddItem(kYouTube + std::to_string(i), "Waiting (Auto Detect)", status, size);
    }
    SetClipboard(kDailyMotion);
    bool filling = false;
    int togglesDuring = -1;
    QTimer::singleShot(0, [&] {
        filling = form->bFillingList();
        form->Clipboard.tmrMonitor_Timer();  // the clipboard poll finds a new address
        form->Scheduler.tmrDownload_Timer(); // the start timer ticks
        togglesDuring = toggles;
    });
    form->FillDownloadList();
    EXPECT_TRUE(filling) << "the ticks must land inside the rebuild";
    EXPECT_EQ(togglesDuring, 0);
    EXPECT_EQ(DownloadQueue.size(), 21u);
    // Taken up once the rebuild has ended, once.
    ASSERT_TRUE(test::WaitUntil([&] { return toggles > 0; }, 3000));
    test::WaitUntil([] { return false; }, 500);
    EXPECT_EQ(toggles, 1);
}

} // namespace
} // namespace tollivex
