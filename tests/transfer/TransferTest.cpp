#include "TransferTestSupport.h"

#include "platform/FileSystem.h"
#include "platform/internet/Internet.h"
#include "platform/seams/TestSeams.h"
#include "support/HttpTestServer.h"
#include "support/TempFolder.h"
#include "support/TestEventLoop.h"
#include "transfer/Download.h"

#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <utility>
#include <vector>

namespace tollivex {
namespace {

using test::EventLog;
using test::HttpTestConnection;
using test::HttpTestRequest;
using test::HttpTestServer;
using test::TempFolder;
using test::TestEventLoop;

std::string FileText(const std::string& path) { return platform::ReadWholeFile(path).value_or("<missing>"); }

TEST(StartDownload, ReadsInChunksOf2048WithAProgressEventEach)
{
    HttpTestServer server;
    TempFolder folder;
    const std::string body = test::PatternBytes(5000);
    server.Serve("/5000.flv", body);
    // No Content-Length and no chunks: the data ends when the server closes.
    server.Route("/unknown.flv", [body](const HttpTestRequest& request, HttpTestConnection& connection) {
        connection.Send("HTTP/1.0 200 OK\r\nContent-Type: video/x-flv\r\n\r\n");
        if (request.method == "GET")
            connection.Send(body);
        connection.Close();
    });
    server.Serve("/empty.flv", "");

    {
        Download download;
        EventLog log(download);
        download.SetUrl(server.Url("/5000.flv"));
        download.SetLocalFile(folder.File("a.flv"));
        EXPECT_TRUE(download.StartDownload());
        EXPECT_EQ(log.events,
                  (std::vector<std::string>{"progress 41", "progress 82", "progress 100", "progress 100", "complete"}));
        EXPECT_EQ(FileText(folder.File("a.flv")), body);
        // The transfer asked for the size itself, first.
        ASSERT_EQ(server.RequestCount(), 2);
        EXPECT_EQ(server.Requests()[0].method, "HEAD");
        EXPECT_EQ(server.Requests()[1].requestLine, "GET /5000.flv HTTP/1.1");
        EXPECT_EQ(server.Requests()[1].Header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 5.0; Windows NT; DigExt)");
    }
    {
        Download download;
        EventLog log(download);
        download.SetUrl(server.Url("/unknown.flv"));
        download.SetLocalFile(folder.File("b.flv"));
        EXPECT_TRUE(download.StartDownload());
        EXPECT_EQ(download.FileSize(), -1);
        // Byte counts show the reads: 2048, 2048, 904, then 0.
        EXPECT_EQ(log.events, (std::vector<std::string>{"progress 2048", "progress 4096", "progress 5000",
                                                        "progress 5000", "complete"}));
        EXPECT_EQ(FileText(folder.File("b.flv")), body);
    }
    {
        Download download;
        EventLog log(download);
        download.SetUrl(server.Url("/empty.flv"));
        download.SetLocalFile(folder.File("c.flv"));
        EXPECT_TRUE(download.StartDownload());
        EXPECT_EQ(log.events, (std::vector<std::string>{"progress 0", "complete"}));
        EXPECT_EQ(FileText(folder.File("c.flv")), "");
    }
}

TEST(StartDownload, ALargeBodyArrivesWholeAndInOrder)
{
    HttpTestServer server;
    TempFolder folder;
    const std::string body = test::PatternBytes(6 * 1024 * 1024 + 123);
    server.Serve("/big.flv", body);
    Download download;
    EventLog log(download);
    download.SetUrl(server.Url("/big.flv"));
    download.SetLocalFile(folder.File("big.flv"));
    ASSERT_TRUE(download.StartDownload());
    EXPECT_EQ(log.progress.size(), body.size() / 2048 + 2);
    EXPECT_EQ(log.progress.back(), 100);
    EXPECT_TRUE(FileText(folder.File("big.flv")) == body);
}

TEST(StartDownload, CancelFromTheFirstProgressEvent)
{
    HttpTestServer server;
    TempFolder folder;
    server.Serve("/a.flv", test::PatternBytes(100000));
    Download download;
    EventLog log(download);
    download.DownloadProgress = [&](std::int32_t& p) {
        log.events.push_back("progress " + std::to_string(p));
        download.CancelDownload();
    };
    download.SetUrl(server.Url("/a.flv"));
    download.SetLocalFile(folder.File("a.flv"));
    download.CancelDownload(); // before the start: no effect
    EXPECT_FALSE(download.StartDownload());
    EXPECT_EQ(log.events, (std::vector<std::string>{"progress 2", "cancelled 2048"}));
    EXPECT_FALSE(download.SessionOpen());
    EXPECT_EQ(FileText(folder.File("a.flv")).size(), 2048u);
}

TEST(StartDownload, ACancelIsTakenWhileTheServerIsSilent)
{
    HttpTestServer server;
    TempFolder folder;
    // 4096 bytes of an announced 100000, then nothing until the test ends.
    std::atomic<bool> release{false};
    server.Route("/silent.flv", [&release](const HttpTestRequest& request, HttpTestConnection& connection) {
        connection.Send(HttpTestServer::ResponseHead(200, "OK", {{"Content-Length", "100000"}}));
        if (request.method != "GET")
            return;
        connection.Send(std::string(4096, 's'));
        while (!release)
            connection.Pause(20);
    });
    Download download;
    EventLog log(download);
    TestEventLoop events; // the pending press goes with the test
    bool pressed = false;
    download.DownloadProgress = [&](std::int32_t& p) {
        log.events.push_back("progress " + std::to_string(p));
        // The user presses stop once the data has dried up: a window event
        // that arrives while the read waits.
        if (p == 4 && !pressed) {
            pressed = true;
            events.After(50, [&] { download.CancelDownload(); });
        }
    };
    download.SetUrl(server.Url("/silent.flv"));
    download.SetLocalFile(folder.File("silent.flv"));
    EXPECT_FALSE(download.StartDownload());
    release = true;
    ASSERT_FALSE(log.events.empty());
    // Cancelled at once, not broken off by the stall time-out much later.
    EXPECT_EQ(log.Last(), "cancelled 4096");
    for (const auto& event : log.events)
        EXPECT_EQ(event.rfind("error", 0), std::string::npos) << event;
}

TEST(StartDownload, AddressesThatCannotBeOpened)
{
    HttpTestServer server;
    TempFolder folder;
    const std::string local = folder.Write("keep.flv", "earlier content");
    server.Serve("/gone.flv", "<html>Not here</html>", {}, 404, "Not Found");
    server.Serve("/broken.flv", "<html>Oops</html>", {}, 500, "Internal Server Error");
    const std::string addresses[] = {server.Url("/gone.flv"), server.Url("/broken.flv"),
                                     "http://127.0.0.1:" + std::to_string(test::UnusedPort()) + "/a.flv",
                                     "file:///etc/passwd"};
    for (const auto& address : addresses) {
        Download download;
        EventLog log(download);
        download.SetUrl(address);
        download.SetLocalFile(local);
        EXPECT_FALSE(download.StartDownload()) << address;
        EXPECT_EQ(log.events, (std::vector<std::string>{"error Could not find Url"})) << address;
        EXPECT_EQ(FileText(local), "earlier content") << address;
        EXPECT_TRUE(download.SessionOpen()) << address; // this ending keeps the session
    }
}

TEST(StartDownload, DataThatBreaksOffIsAReadError)
{
    HttpTestServer server;
    TempFolder folder;
    // Announces 10000 bytes, sends 3000 and closes.
    server.Route("/short.flv", [](const HttpTestRequest& request, HttpTestConnection& connection) {
        connection.Send(HttpTestServer::ResponseHead(200, "OK", {{"Content-Length", "10000"}}));
        if (request.method == "GET")
            connection.Send(std::string(3000, 'a'));
        connection.Close();
    });
    // Sends 3000 bytes, then resets the connection.
    server.Route("/reset.flv", [](const HttpTestRequest& request, HttpTestConnection& connection) {
        connection.Send(HttpTestServer::ResponseHead(200, "OK", {{"Content-Length", "10000"}}));
        if (request.method != "GET")
            return;
        connection.Send(std::string(3000, 'a'));
        connection.Pause(100);
        connection.Reset();
    });
    // A chunked body cut off inside a chunk.
    server.Route("/chunked.flv", [](const HttpTestRequest& request, HttpTestConnection& connection) {
        connection.Send(HttpTestServer::ResponseHead(200, "OK", {{"Transfer-Encoding", "chunked"}}));
        if (request.method == "GET")
            connection.Send("1000\r\n" + std::string(100, 'c'));
        connection.Close();
    });
    for (const std::string path : {"/short.flv", "/reset.flv", "/chunked.flv"}) {
        Download download;
        EventLog log(download);
        download.SetUrl(server.Url(path));
        download.SetLocalFile(folder.File("x.flv"));
        EXPECT_FALSE(download.StartDownload()) << path;
        ASSERT_FALSE(log.events.empty()) << path;
        EXPECT_EQ(log.Last(), "error Could not read URL") << path;
        for (const auto& event : log.events)
            EXPECT_NE(event, "complete") << path;
        EXPECT_FALSE(download.SessionOpen()) << path;
    }
}

TEST(StartDownload, ALengthThatIsNoPlainNumberIsNeverTakenAsTheWholeFile)
{
    HttpTestServer server;
    TempFolder folder;
    // 1500 bytes sent whole under each length: the malformed ones could be
    // taken for 1 byte, or for none. Only the plain ones may end "complete".
    const std::vector<std::pair<std::string, bool>> lengths{{"1,500", false}, {"1500 bytes", false}, {"abc", false},
                                                            {"-5", false},    {"0x5DC", false},      {"1500", true},
                                                            {" 1500 ", true}};
    for (size_t i = 0; i < lengths.size(); ++i) {
        const std::string length = lengths[i].first;
        server.Route("/" + std::to_string(i) + ".flv",
                     [length](const HttpTestRequest& request, HttpTestConnection& connection) {
                         connection.Send(HttpTestServer::ResponseHead(200, "OK", {{"Content-Length", length}}));
                         if (request.method == "GET")
                             connection.Send(std::string(1500, 'v'));
                         connection.Close();
                     });
    }
    for (size_t i = 0; i < lengths.size(); ++i) {
        const auto& [length, plain] = lengths[i];
        Download download;
        EventLog log(download);
        download.SetUrl(server.Url("/" + std::to_string(i) + ".flv"));
        download.SetLocalFile(folder.File(std::to_string(i) + ".flv"));
        EXPECT_EQ(download.StartDownload(), plain) << '"' << length << '"';
        ASSERT_FALSE(log.events.empty()) << length;
        if (plain) {
            EXPECT_EQ(log.Last(), "complete") << length;
            EXPECT_EQ(platform::ReadWholeFile(folder.File(std::to_string(i) + ".flv")), std::string(1500, 'v'));
        } else {
            EXPECT_EQ(log.Last().rfind("error ", 0), 0u) << '"' << length << "\": " << log.Last();
            for (const auto& event : log.events)
                EXPECT_NE(event, "complete") << length;
        }
    }
}

TEST(StartDownload, AServerThatStallsEndsWithAReadError)
{
    platform::SetTimeouts(2, 2);
    HttpTestServer server;
    TempFolder folder;
    server.Route("/stall.flv", [](const HttpTestRequest& request, HttpTestConnection& connection) {
        connection.Send(HttpTestServer::ResponseHead(200, "OK", {{"Content-Length", "10000"}}));
        if (request.method == "GET") {
            connection.Send(std::string(100, 's'));
            connection.Pause(20000);
        }
    });
    Download download;
    EventLog log(download);
    download.SetUrl(server.Url("/stall.flv"));
    download.SetLocalFile(folder.File("x.flv"));
    EXPECT_FALSE(download.StartDownload());
    platform::ResetTimeouts();
    EXPECT_EQ(log.Last(), "error Could not read URL");
}

TEST(StartDownload, TheLocalFile)
{
    HttpTestServer server;
    TempFolder folder;
    server.Serve("/a.flv", "new");
    // An existing longer file is replaced, not overwritten at its start.
    const std::string existing = folder.Write("a.flv", "an older and much longer file");
    {
        Download download;
        EventLog log(download);
        download.SetUrl(server.Url("/a.flv"));
        download.SetLocalFile(existing);
        EXPECT_TRUE(download.StartDownload());
        EXPECT_EQ(FileText(existing), "new");
    }
    // A file that cannot be written ends the transfer with an error.
    {
        Download download;
        EventLog log(download);
        download.SetUrl(server.Url("/a.flv"));
        download.SetLocalFile(folder.File("no such folder/a.flv"));
        EXPECT_FALSE(download.StartDownload());
        EXPECT_EQ(log.events, (std::vector<std::string>{"error Could not write file"}));
        EXPECT_TRUE(download.SessionOpen());
        // The component carries on with the next transfer.
        download.SetLocalFile(folder.File("b.flv"));
        EXPECT_TRUE(download.StartDownload());
        EXPECT_EQ(FileText(folder.File("b.flv")), "new");
    }
    // A full disk, found while the transfer runs or only when its last block is written.
    for (const std::size_t size : {5000u, 100000u}) {
        server.Serve("/full.flv", test::PatternBytes(size));
        Download download;
        EventLog log(download);
        download.SetUrl(server.Url("/full.flv"));
        download.SetLocalFile("/dev/full");
        EXPECT_FALSE(download.StartDownload()) << size;
        EXPECT_EQ(log.Last(), "error Could not write file") << size;
    }
}

TEST(StartDownload, ProgressPastTheInt32RangeIsClamped)
{
    HttpTestServer server;
    TempFolder folder;
    server.Serve("/a.flv", std::string(5000, 'z'));
    Download download;
    EventLog log(download);
    download.SetUrl(server.Url("/a.flv"));
    download.RequestInformation();
    download.SetFileSize(1e-6f); // far smaller than the data
    download.SetLocalFile(folder.File("a.flv"));
    EXPECT_TRUE(download.StartDownload());
    ASSERT_EQ(log.progress.size(), 4u);
    for (const auto p : log.progress)
        EXPECT_EQ(p, std::numeric_limits<std::int32_t>::max());
}

TEST(StartDownload, SessionLifecycleAndInformationRequests)
{
    HttpTestServer server;
    TempFolder folder;
    server.Serve("/a.flv", std::string(5000, 'a'));
    server.Serve("/b.flv", std::string(10000, 'b'));
    Download download;
    EventLog log(download);
    EXPECT_FALSE(download.SessionOpen());

    // A request before any transfer leaves the session open for the transfer.
    download.SetUrl(server.Url("/a.flv"));
    download.RequestInformation();
    EXPECT_TRUE(download.SessionOpen());
    EXPECT_EQ(download.FileSize(), 5000);
    download.SetLocalFile(folder.File("a.flv"));
    EXPECT_TRUE(download.StartDownload());
    EXPECT_FALSE(download.SessionOpen());        // every ending but the two failures closes it
    EXPECT_EQ(server.RequestCount("/a.flv"), 2); // the host's HEAD and the GET: no second HEAD

    // After a transfer, a request opens a session and closes it again.
    download.RequestInformation();
    EXPECT_FALSE(download.SessionOpen());

    // A later transfer relies on the host's latest request for its size: the
    // percentages of b.flv are taken against a.flv's 5000 bytes.
    log.events.clear();
    log.progress.clear();
    download.SetUrl(server.Url("/b.flv"));
    download.SetLocalFile(folder.File("b.flv"));
    EXPECT_TRUE(download.StartDownload());
    EXPECT_EQ(server.RequestCount("/b.flv"), 1);
    EXPECT_EQ(log.progress.back(), 200);
    EXPECT_EQ(FileText(folder.File("b.flv")).size(), 10000u);
}

TEST(StartDownload, TheWindowStaysAliveDuringASlowTransfer)
{
    HttpTestServer server;
    TempFolder folder;
    const std::string body = test::PatternBytes(6000);
    server.Route("/slow.flv", [body](const HttpTestRequest& request, HttpTestConnection& connection) {
        connection.Send(HttpTestServer::ResponseHead(200, "OK", {{"Content-Length", "6000"}}));
        if (request.method == "GET")
            connection.SendSlowly(body, 200, 25); // about 0.75 s
    });
    Download download;
    EventLog log(download);
    download.SetUrl(server.Url("/slow.flv"));
    download.SetLocalFile(folder.File("slow.flv"));
    int ticks = 0;
    TestEventLoop events;
    events.Every(10, [&] { ++ticks; });
    // A stop click arriving through the event loop reaches the transfer.
    bool stopRequested = false;
    events.After(400, [&] { stopRequested = true; });
    download.DownloadProgress = [&](std::int32_t& p) {
        log.progress.push_back(p);
        if (stopRequested)
            download.CancelDownload();
    };
    EXPECT_FALSE(download.StartDownload());
    EXPECT_GT(ticks, 15);
    EXPECT_EQ(log.events.size(), 1u);
    EXPECT_EQ(log.events[0].rfind("cancelled ", 0), 0u);
    EXPECT_LT(log.progress.back(), 100);
}

} // namespace
} // namespace tollivex
