#include "TransferTestSupport.h"

#include "platform/internet/Internet.h"
#include "support/HttpTestServer.h"

#include <gtest/gtest.h>

namespace tollivex::platform {
namespace {

using test::HttpTestServer;

TEST(InternetLayer, ReadsDeliverExactSizesWhateverPiecesTheNetworkBrings)
{
    HttpTestServer server;
    const std::string body = test::PatternBytes(10000);
    server.Route("/pieces", [body](const test::HttpTestRequest&, test::HttpTestConnection& connection) {
        connection.Send(HttpTestServer::ResponseHead(200, "OK", {{"Content-Length", "10000"}}));
        connection.SendSlowly(body, 777, 2);
    });
    auto session = InternetSession::Open("agent");
    ASSERT_TRUE(session);
    auto reader = session->OpenUrl(server.Url("/pieces"));
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->StatusCode(), 200);
    std::string received;
    std::vector<std::size_t> sizes;
    char buffer[3000];
    for (int i = 0; i < 20; ++i) {
        std::size_t got = 0;
        ASSERT_TRUE(reader->Read(buffer, 3000, got));
        sizes.push_back(got);
        received.append(buffer, got);
        if (got == 0)
            break;
    }
    EXPECT_EQ(sizes, (std::vector<std::size_t>{3000, 3000, 3000, 1000, 0}));
    EXPECT_TRUE(received == body);
}

TEST(InternetLayer, HeadBlockFitsTheCallersBufferOrSaysHowMuchItNeeds)
{
    HttpTestServer server;
    server.ServeRaw("/h", "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n");
    auto session = InternetSession::Open("agent");
    auto connection = session->Connect(server.HostAndPort(), std::nullopt, std::nullopt);
    ASSERT_TRUE(connection);
    auto request = connection->OpenHeadRequest("/h", "HTTP/1.0");
    ASSERT_TRUE(request);
    EXPECT_TRUE(request->Send());
    const std::string expected = "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n";
    char small[10];
    std::size_t length = sizeof small;
    EXPECT_FALSE(request->QueryRawHeaders(small, length));
    EXPECT_EQ(length, expected.size() + 1);
    char buffer[1024];
    length = sizeof buffer;
    ASSERT_TRUE(request->QueryRawHeaders(buffer, length));
    EXPECT_EQ(std::string(buffer, length), expected);
    EXPECT_EQ(request->QueryStatusCode(), "200");
    // Closing the session first leaves the request usable.
    session.reset();
    EXPECT_EQ(request->QueryStatusCode(), "200");
    EXPECT_FALSE(InternetSession::Open("agent")->Connect("", std::nullopt, std::nullopt));
}

TEST(InternetLayer, RedirectsAreFollowedToTheFinalAnswer)
{
    HttpTestServer server;
    server.Serve("/old", "", {{"Location", server.Url("/new")}}, 302, "Found");
    server.Serve("/new", "final", {{"Content-Type", "video/x-flv"}});
    auto session = InternetSession::Open("agent");
    auto request =
        session->Connect(server.HostAndPort(), std::nullopt, std::nullopt)->OpenHeadRequest("/old", "HTTP/1.0");
    request->Send();
    char buffer[1024];
    std::size_t length = sizeof buffer;
    ASSERT_TRUE(request->QueryRawHeaders(buffer, length));
    EXPECT_EQ(std::string(buffer, length).rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
    auto reader = session->OpenUrl(server.Url("/old"));
    ASSERT_TRUE(reader);
    std::size_t got = 0;
    ASSERT_TRUE(reader->Read(buffer, 100, got));
    EXPECT_EQ(std::string(buffer, got), "final");
}

} // namespace
} // namespace tollivex::platform
