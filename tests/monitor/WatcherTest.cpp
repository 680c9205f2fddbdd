// The watcher program on a real X display with the real clipboard: copied
// addresses reach the mailbox, one watcher per mailbox, "Exit" ends it, a
// burst loses nothing, and it never outlives the main window.

#include "MonitorTestSupport.h"
#include "platform/gui/LocalSocketMailbox.h"
#include "platform/window/MailboxChannel.h"

#include <QApplication>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace tollivex {
namespace {

using platform::LocalSocketMailbox;

class Watcher : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY")) << "needs an X display (run through run-with-xvfb.sh)";
        mailbox = std::make_unique<LocalSocketMailbox>();
        ASSERT_TRUE(mailbox->Listening());
        mailbox->SetChangeHandler([this] {
            if (mailbox->Text().empty())
                return;
            received.push_back(mailbox->Text());
            mailbox->SetText("");
        });
    }
    void TearDown() override
    {
        for (auto& watcher : watchers)
            if (watcher->state() != QProcess::NotRunning) {
                watcher->kill();
                watcher->waitForFinished(2000);
            }
    }

    QProcess& StartWatcher(const std::string& identity)
    {
        auto watcher = std::make_unique<QProcess>();
        watcher->setProcessChannelMode(QProcess::ForwardedChannels);
        watcher->start(test::WatcherProgram(), {QString::fromStdString(identity)});
        EXPECT_TRUE(watcher->waitForStarted(5000));
        watchers.push_back(std::move(watcher));
        return *watchers.back();
    }
    bool WaitForCount(std::size_t count, int timeoutMs = 5000)
    {
        return test::WaitUntil([&] { return received.size() >= count; }, timeoutMs);
    }
    static bool Ends(QProcess& process, int timeoutMs)
    {
        return test::WaitUntil([&] { return process.state() == QProcess::NotRunning; }, timeoutMs);
    }

    std::unique_ptr<LocalSocketMailbox> mailbox;
    std::vector<std::unique_ptr<QProcess>> watchers;
    std::vector<std::string> received;
    test::XClipboard clipboard;
};

TEST_F(Watcher, CopiedAddressesReachTheMailboxAndOtherTextsDoNot)
{
    QProcess& watcher = StartWatcher(mailbox->Identity());
    ASSERT_TRUE(test::WaitUntil([&] { return mailbox->ConnectionCount() == 1; }, 5000));

    clipboard.Set("http://www.youtube.com/watch?v=first");
    ASSERT_TRUE(WaitForCount(1));
    EXPECT_EQ(received[0], "http://www.youtube.com/watch?v=first");

    // Not addresses, addresses of no supported site, or only selected with
    // the mouse: nothing is delivered.
    clipboard.Set("just some words");
    clipboard.Set("https://docs.example.org/some/page");
    clipboard.Set("http://a.example/one\nhttp://a.example/two");
    clipboard.Set("http://www.youtube.com/watch?v=selected", "primary");
    test::WaitUntil([] { return false; }, 400);
    clipboard.Set("  http://www.youtube.com/watch?v=second\n");
    ASSERT_TRUE(WaitForCount(2));
    test::WaitUntil([] { return false; }, 200);
    EXPECT_EQ(received, (std::vector<std::string>{"http://www.youtube.com/watch?v=first",
                                                  "http://www.youtube.com/watch?v=second"}));
    EXPECT_EQ(watcher.state(), QProcess::Running);
}

TEST_F(Watcher, OneWatcherPerMailboxAndExitEndsIt)
{
    QProcess& first = StartWatcher(mailbox->Identity());
    ASSERT_TRUE(test::WaitUntil([&] { return mailbox->ConnectionCount() == 1; }, 5000));

    // Switching on twice starts the program twice; the second one leaves.
    QProcess& second = StartWatcher(mailbox->Identity());
    ASSERT_TRUE(Ends(second, 5000));
    EXPECT_EQ(second.exitCode(), 0);
    clipboard.Set("http://www.youtube.com/watch?v=once");
    ASSERT_TRUE(WaitForCount(1));
    test::WaitUntil([] { return false; }, 300);
    EXPECT_EQ(received.size(), 1u);

    // A watcher of another mailbox ends too: "Exit" names none.
    LocalSocketMailbox other;
    QProcess& third = StartWatcher(other.Identity());
    ASSERT_TRUE(test::WaitUntil([&] { return other.ConnectionCount() == 1; }, 5000));

    const int exitCode = QProcess::execute(test::WatcherProgram(), {QStringLiteral("Exit")});
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(Ends(first, 3000));
    EXPECT_TRUE(Ends(third, 3000));
    EXPECT_TRUE(test::WaitUntil([&] { return mailbox->ConnectionCount() == 0; }, 3000));

    // "Exit" with no watcher running is harmless, and a new watcher can start afterwards.
    EXPECT_EQ(QProcess::execute(test::WatcherProgram(), {QStringLiteral("Exit")}), 0);
    StartWatcher(mailbox->Identity());
    ASSERT_TRUE(test::WaitUntil([&] { return mailbox->ConnectionCount() == 1; }, 5000));
    clipboard.Set("http://www.youtube.com/watch?v=again");
    ASSERT_TRUE(WaitForCount(2));
    EXPECT_EQ(received.back(), "http://www.youtube.com/watch?v=again");
}

TEST_F(Watcher, QuickCopiesUnderLoadAreAllDeliveredInOrder)
{
    StartWatcher(mailbox->Identity());
    ASSERT_TRUE(test::WaitUntil([&] { return mailbox->ConnectionCount() == 1; }, 5000));
    // Every core busy, as when programs build beside the user; each copy
    // follows the moment the one before has arrived. (The clipboard holds one
    // text: a copy replaced before anyone read it is gone for every reader.)
    test::CpuLoad load;
    std::vector<std::string> copied;
    for (int i = 0; i < 25; ++i) {
        copied.push_back("http://www.youtube.com/watch?v=burst" + std::to_string(i));
        clipboard.Set(QString::fromStdString(copied.back()));
        ASSERT_TRUE(WaitForCount(copied.size(), 10000)) << "copy " << i << " never arrived";
    }
    test::WaitUntil([] { return false; }, 300);
    EXPECT_EQ(received, copied);
}

TEST_F(Watcher, DoesNotOutliveTheMainWindow)
{
    // Another program owns the mailbox; the watcher is ours to watch.
    QProcess owner;
    owner.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    owner.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--mailbox-owner")});
    ASSERT_TRUE(owner.waitForStarted(5000));
    ASSERT_TRUE(test::WaitUntil([&] { return owner.canReadLine(); }, 10000));
    const std::string identity = owner.readLine().trimmed().toStdString();
    ASSERT_TRUE(platform::IsIdentity(QString::fromStdString(identity))) << identity;

    QProcess& watcher = StartWatcher(identity);
    ASSERT_TRUE(test::WaitUntil([&] { return owner.canReadLine(); }, 5000)) << "the watcher never connected";
    EXPECT_EQ(owner.readLine().trimmed(), "connected");

    test::WaitUntil([] { return false; }, 1500);
    EXPECT_EQ(watcher.state(), QProcess::Running);
    owner.kill(); // the main window is gone without a word
    owner.waitForFinished(5000);
    EXPECT_TRUE(Ends(watcher, 5000));
}

} // namespace
} // namespace tollivex

/// "--mailbox-owner": a stand-in main window that prints its mailbox's
/// identity, then "connected" once a watcher has connected, and waits.
static int RunMailboxOwner()
{
    tollivex::platform::LocalSocketMailbox mailbox;
    std::cout << mailbox.Identity() << std::endl;
    tollivex::test::WaitUntil([&] { return mailbox.ConnectionCount() > 0; }, 30000);
    std::cout << "connected" << std::endl;
    tollivex::test::WaitUntil([] { return false; }, 60000);
    return 0;
}

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--mailbox-owner") == 0) {
        QCoreApplication app(argc, argv); // shares the runtime folder of the test that started it
        return RunMailboxOwner();
    }
    tollivex::test::UsePrivateRuntimeFolder();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
