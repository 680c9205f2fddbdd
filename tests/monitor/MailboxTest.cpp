// The main window's mailbox: deliveries over a real local socket, framed,
// bounded and handed over one at a time; and which copied texts the watcher
// forwards.

#include "MonitorTestSupport.h"
#include "platform/gui/LocalSocketMailbox.h"
#include "platform/window/MailboxChannel.h"
#include "platform/window/RuntimeFolder.h"
#include "platform/window/seams/WindowTestSeams.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace tollivex {
namespace {

using platform::LocalSocketMailbox;

class Mailbox : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::UsePrivateRuntimeFolder(); }

    void SetUp() override
    {
        mailbox = std::make_unique<LocalSocketMailbox>();
        ASSERT_TRUE(mailbox->Listening());
        // Like txtMonitor_Change: take the text, then empty the box.
        mailbox->SetChangeHandler([this] {
            ++reports;
            if (mailbox->Text().empty())
                return;
            received.push_back(mailbox->Text());
            mailbox->SetText("");
        });
    }

    std::unique_ptr<QLocalSocket> Connect()
    {
        auto socket = std::make_unique<QLocalSocket>();
        socket->connectToServer(platform::MailboxServerName(QString::fromStdString(mailbox->Identity())));
        EXPECT_TRUE(socket->waitForConnected(2000));
        return socket;
    }
    static QByteArray Frame(const QByteArray& bytes)
    {
        QByteArray frame(4, '\0');
        qToBigEndian(static_cast<quint32>(bytes.size()), frame.data());
        return frame + bytes;
    }
    bool WaitForCount(std::size_t count, int timeoutMs = 3000)
    {
        return test::WaitUntil([&] { return received.size() >= count; }, timeoutMs);
    }

    std::unique_ptr<LocalSocketMailbox> mailbox;
    std::vector<std::string> received;
    int reports = 0;
};

TEST_F(Mailbox, IdentityIsDecimalAndUniquePerMailbox)
{
    LocalSocketMailbox other;
    EXPECT_TRUE(other.Listening());
    EXPECT_TRUE(platform::IsIdentity(QString::fromStdString(mailbox->Identity())));
    EXPECT_NE(other.Identity(), mailbox->Identity());
}

TEST_F(Mailbox, SeveralDeliveriesInOneReadArriveOneByOneInOrder)
{
    auto socket = Connect();
    socket->write(Frame("http://a.example/1") + Frame("http://a.example/2") + Frame("http://a.example/3"));
    socket->flush();
    ASSERT_TRUE(WaitForCount(3));
    EXPECT_EQ(received, (std::vector<std::string>{"http://a.example/1", "http://a.example/2", "http://a.example/3"}));
    EXPECT_EQ(mailbox->Text(), "");
    EXPECT_EQ(reports, 6); // each delivery, and each emptying

    // A delivery split over many reads comes once, whole.
    const QByteArray frame = Frame("http://www.youtube.com/watch?v=split");
    for (char byte : frame) {
        socket->write(&byte, 1);
        socket->flush();
        QCoreApplication::processEvents();
    }
    ASSERT_TRUE(WaitForCount(4));
    EXPECT_EQ(received.back(), "http://www.youtube.com/watch?v=split");
}

TEST_F(Mailbox, OversizedBinaryAndBrokenTextsAreNeverQueued)
{
    auto socket = Connect();
    QByteArray withLineBreak("http://a.example/x\nhttp://b.example/y");
    QByteArray binary("http://a.example/\x01\x02", 19);
    QByteArray badUtf8("http://a.example/\xc3\x28");
    const QByteArray largest = "http://a.example/" + QByteArray(platform::kMaxDeliveryBytes - 17, 'a');
    socket->write(Frame(withLineBreak) + Frame(binary) + Frame(badUtf8) + Frame("") + Frame(largest) +
                  Frame("http://a.example/after"));
    socket->flush();
    ASSERT_TRUE(WaitForCount(2));
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].size(), static_cast<std::size_t>(platform::kMaxDeliveryBytes));
    EXPECT_EQ(received[1], "http://a.example/after");

    // A delivery longer than the bound ends that connection; nothing of it is queued.
    socket->write(Frame(QByteArray(platform::kMaxDeliveryBytes + 1, 'a')) + Frame("http://a.example/lost"));
    socket->flush();
    EXPECT_TRUE(test::WaitUntil([&] { return socket->state() == QLocalSocket::UnconnectedState; }, 3000));
    EXPECT_EQ(received.size(), 2u);

    // Other connections still deliver.
    auto fresh = Connect();
    fresh->write(Frame("http://a.example/fresh"));
    fresh->flush();
    ASSERT_TRUE(WaitForCount(3));
    EXPECT_EQ(received.back(), "http://a.example/fresh");
}

TEST_F(Mailbox, DeliveriesArrivingDuringAReportWaitTheirTurn)
{
    auto socket = Connect();
    int depth = 0;
    int deepest = 0;
    mailbox->SetChangeHandler([&] {
        if (mailbox->Text().empty())
            return;
        ++depth;
        deepest = std::max(deepest, depth);
        const std::string text = mailbox->Text();
        if (received.empty()) {
            // The first report lets events run while more arrive.
            socket->write(Frame("http://a.example/second") + Frame("http://a.example/third"));
            socket->flush();
            test::WaitUntil([&] { return false; }, 200);
        }
        EXPECT_EQ(mailbox->Text(), text) << "the text changed under a running report";
        received.push_back(text);
        mailbox->SetText("");
        --depth;
    });
    socket->write(Frame("http://a.example/first"));
    socket->flush();
    ASSERT_TRUE(WaitForCount(3));
    EXPECT_EQ(received, (std::vector<std::string>{"http://a.example/first", "http://a.example/second",
                                                  "http://a.example/third"}));
    EXPECT_EQ(deepest, 1);
}

#ifndef _WIN32
TEST_F(Mailbox, NamesLeftByKilledProgramsAreRemovedAndLiveOnesKept)
{
    // A socket file nobody listens on, as a killed program leaves it.
    const QString dead = platform::MailboxServerName(QStringLiteral("4242"));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, dead.toLocal8Bit().constData(), sizeof(address.sun_path) - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    ASSERT_TRUE(QFileInfo::exists(dead));

    LocalSocketMailbox next;
    EXPECT_FALSE(QFileInfo::exists(dead));
    // The mailbox of the running test is still there and still delivers.
    auto socket = Connect();
    socket->write(Frame("http://a.example/alive"));
    socket->flush();
    ASSERT_TRUE(WaitForCount(1));
}
#endif

TEST_F(Mailbox, ClosedItTakesNothingAndReopensUnderANewIdentity)
{
    auto watcher = Connect();
    const std::string closed = mailbox->Identity();
    mailbox->Close();
    EXPECT_FALSE(mailbox->Listening());
    watcher->write(Frame("http://a.example/after-close"));
    watcher->flush();
    // A watcher still starting up for the closed identity finds nobody.
    QLocalSocket late;
    late.connectToServer(platform::MailboxServerName(QString::fromStdString(closed)));
    EXPECT_FALSE(late.waitForConnected(500));
    test::WaitUntil([] { return false; }, 200);
    EXPECT_TRUE(received.empty());

    ASSERT_TRUE(mailbox->Open());
    EXPECT_NE(mailbox->Identity(), closed);
    const std::string reopened = mailbox->Identity();
    EXPECT_TRUE(mailbox->Open()); // open already: the identity stays
    EXPECT_EQ(mailbox->Identity(), reopened);
    auto next = Connect();
    next->write(Frame("http://a.example/reopened"));
    next->flush();
    ASSERT_TRUE(WaitForCount(1));
    EXPECT_EQ(received, std::vector<std::string>{"http://a.example/reopened"});
}

#ifndef _WIN32
TEST(RuntimeFolder, OnlyAFolderPrivateToTheUserIsTaken)
{
    const char* names[] = {"XDG_RUNTIME_DIR", "TMPDIR", "XDG_CACHE_HOME"};
    QByteArray saved[3];
    for (int i = 0; i < 3; ++i)
        saved[i] = qgetenv(names[i]);
    QTemporaryDir scratch(QStringLiteral("/tmp/tvx-rf-XXXXXX")); // short enough for sockets below it
    const QString open = scratch.filePath(QStringLiteral("open"));
    QDir().mkpath(open);
    QFile::setPermissions(open, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                    QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther);
    const auto isPrivate = [](const std::optional<QString>& folder) {
        return folder && (QFileInfo(*folder).permissions() & (QFileDevice::ReadGroup | QFileDevice::WriteOther)) == 0;
    };

    // A folder others may write to is never taken, whoever names it.
    platform::SetRuntimeFolder(open.toStdString());
    EXPECT_FALSE(platform::RuntimeFolder());
    EXPECT_EQ(platform::MailboxServerName(QStringLiteral("1")), QString());
    LocalSocketMailbox refused;
    EXPECT_FALSE(refused.Listening());
    EXPECT_FALSE(refused.Open());

    // No usable runtime folder from the session: one of the user's own in the
    // cache folder, made closed, which no other user can make first.
    platform::SetRuntimeFolder("");
    qputenv("XDG_RUNTIME_DIR", open.toLocal8Bit());
    qputenv("TMPDIR", scratch.path().toLocal8Bit());
    const QString cache = scratch.filePath(QStringLiteral("cache"));
    qputenv("XDG_CACHE_HOME", cache.toLocal8Bit());
    const auto home = platform::RuntimeFolder();
    EXPECT_TRUE(isPrivate(home));
    EXPECT_TRUE(home && home->startsWith(cache + QLatin1Char('/')));

    // A cache folder too long for a socket's path: the sockets get a short
    // private folder, the same for every start, a new one once it is gone.
    qputenv("XDG_CACHE_HOME", scratch.filePath(QString(80, QLatin1Char('c'))).toLocal8Bit());
    const auto shortOne = platform::RuntimeFolder();
    EXPECT_TRUE(isPrivate(shortOne));
    EXPECT_TRUE(shortOne && shortOne->startsWith(scratch.path()) &&
                QFile::encodeName(*shortOne).size() + platform::kLongestSocketName <= 107);
    EXPECT_EQ(platform::RuntimeFolder(), shortOne);
    EXPECT_TRUE(LocalSocketMailbox().Listening());
    QDir(*shortOne).removeRecursively();
    const auto next = platform::RuntimeFolder();
    EXPECT_TRUE(isPrivate(next));
    EXPECT_NE(next, shortOne);

    // The cache folder's one made open: the temporary folder's own, and a
    // shared one of that name or a link there is refused too.
    qputenv("XDG_CACHE_HOME", cache.toLocal8Bit());
    QFile::setPermissions(*home, QFileInfo(*home).permissions() | QFileDevice::WriteOther);
    const QString own = scratch.filePath(QStringLiteral("tollivex-%1").arg(::geteuid()));
    EXPECT_EQ(platform::RuntimeFolder(), std::optional<QString>(own));
    QFile::setPermissions(own, QFileInfo(own).permissions() | QFileDevice::WriteOther);
    EXPECT_FALSE(platform::RuntimeFolder());
    QDir().rmdir(own);
    QFile::link(scratch.path(), own);
    EXPECT_FALSE(platform::RuntimeFolder());

    for (int i = 0; i < 3; ++i)
        saved[i].isNull() ? qunsetenv(names[i]) : qputenv(names[i], saved[i]);
}
#endif

TEST_F(Mailbox, SettingTheSameTextReportsNothing)
{
    mailbox->SetChangeHandler([this] { ++reports; });
    mailbox->SetText("a");
    mailbox->SetText("a");
    mailbox->SetText("");
    mailbox->SetText("");
    EXPECT_EQ(reports, 2);
}

TEST(CopiedText, OnlyWebAddressesAreForwarded)
{
    const std::pair<QString, QString> forwarded[] = {
        {"http://www.youtube.com/watch?v=abc", "http://www.youtube.com/watch?v=abc"},
        {"  https://video.google.com/videoplay?docid=1\n", "https://video.google.com/videoplay?docid=1"},
        {"www.dailymotion.com/video/x1", "www.dailymotion.com/video/x1"},
        {"WWW.break.com/index/a.html", "WWW.break.com/index/a.html"},
        {"ftp://files.example/a.flv", "ftp://files.example/a.flv"},
        {QString::fromUtf8("http://example.org/vid\xc3\xa9o"), QString::fromUtf8("http://example.org/vid\xc3\xa9o")},
    };
    for (const auto& [copied, sent] : forwarded) {
        const auto address = platform::AddressFromClipboard(copied);
        ASSERT_TRUE(address.has_value()) << copied.toStdString();
        EXPECT_EQ(*address, sent);
    }
    const QString ignored[] = {
        "",
        "   ",
        "hello world",
        "youtube.com/watch?v=abc",
        "see http://www.youtube.com/watch?v=abc",
        "http://a.example/x\nhttp://b.example/y",
        "http://a.example/\tx",
        "://nothing",
        "http://",
        "1http://a.example",
        QString("http://a.example/") + QChar(0x0001),
        QString("http://a.example/") + QString(platform::kMaxDeliveryBytes, QChar('a')),
        QString("http://a.example/") + QChar(0xD800), // lone surrogate: not UTF-8 text
    };
    for (const QString& copied : ignored)
        EXPECT_FALSE(platform::AddressFromClipboard(copied).has_value()) << copied.left(60).toStdString();
}

} // namespace
} // namespace tollivex
