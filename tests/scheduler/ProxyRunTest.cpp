// Runs behind a forward proxy on the loopback (tests/support/forward_proxy.py):
// it relays every request to the test's server, standing in for the web, and
// logs the request lines it relayed.

#include "RunFixture.h"

#include "platform/FileSystem.h"
#include "platform/internet/Internet.h"
#include "platform/internet/ProxyEnvironment.h"
#include "platform/seams/TestSeams.h"

#include <QProcess>

#include <cstdlib>
#include <map>
#include <sstream>

namespace tollivex::test {
namespace {

class ProxyRun : public RunFixture {
protected:
    void SetUp() override
    {
        RunFixture::SetUp();
        // The proxy leads to the server; an unrelated mapping keeps the connectivity test satisfied.
        platform::ClearHostMappings();
        platform::SetHostMapping("unused.invalid", server->Port());
        log = temp.File("proxy.log");
        const QString python = platform::FileExists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
        proxy.start(python, {QString(std::getenv("TOLLIVEX_SOURCE_DIR")) + "/tests/support/forward_proxy.py",
                             QString::fromStdString(server->HostAndPort()), QString::fromStdString(log)});
        ASSERT_TRUE(proxy.waitForReadyRead(10000)) << "the proxy did not start";
        setenv("http_proxy", ("http://127.0.0.1:" + proxy.readLine().trimmed().toStdString()).c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("http_proxy");
        unsetenv("no_proxy");
        proxy.kill();
        proxy.waitForFinished();
        RunFixture::TearDown();
    }
    std::vector<std::string> Relayed() const
    {
        std::istringstream lines(platform::ReadWholeFile(log).value_or(""));
        std::vector<std::string> relayed;
        for (std::string line; std::getline(lines, line);)
            relayed.push_back(line);
        return relayed;
    }
    void ServeOne()
    {
        ServePage("/a.html", "/a.flv");
        server->Serve("/a.flv", VideoBytes(5000), {{"Content-Type", "video/x-flv"}});
        Queue(PageAddress("/a.html"));
    }

    QProcess proxy;
    std::string log;
};

TEST_F(ProxyRun, ThePageTheInformationRequestAndTheVideoGoThroughTheProxy)
{
    ServeOne();
    Run();
    EXPECT_EQ(ItemStatus(0), "Complete");
    EXPECT_TRUE(FileHolds("a.flv", VideoBytes(5000)));
    const std::string page = PageAddress("/a.html");
    const std::string video = server->Url("/a.flv");
    EXPECT_EQ(Relayed(), (std::vector<std::string>{"HEAD " + page + " HTTP/1.0", "GET " + page + " HTTP/1.1",
                                                   "HEAD " + video + " HTTP/1.0", "GET " + video + " HTTP/1.1"}));
}

TEST_F(ProxyRun, AHostTheEnvironmentExemptsGoesDirect)
{
    setenv("no_proxy", "127.0.0.1", 1);
    ServeOne();
    Run();
    EXPECT_EQ(ItemStatus(0), "Complete");
    const std::string page = PageAddress("/a.html");
    EXPECT_EQ(Relayed(), (std::vector<std::string>{"HEAD " + page + " HTTP/1.0", "GET " + page + " HTTP/1.1"}));
    EXPECT_EQ(server->RequestCount("/a.flv"), 2); // asked about and fetched directly
}

TEST(ProxyEnvironment, OnlyTheVariablesCurlReadsNameAProxy)
{
    using Env = std::map<std::string, std::string>;
    const struct {
        Env env;
        bool named;
        std::string direct; // NoProxyList with the mapped host "mapped"
    } cases[] = {
        {{{"HTTP_PROXY", "http://p:3128"}, {"http_proxy", ""}}, false, "mapped"},
        {{{"HTTPS_PROXY", "http://p:3128"}, {"NO_PROXY", "a.org"}}, true, "a.org,mapped"},
        {{{"all_proxy", "socks5://p"}, {"no_proxy", "b.org"}, {"NO_PROXY", "a.org"}}, true, "b.org,mapped"},
        {{{"ALL_PROXY", "http://p"}, {"no_proxy", "*"}}, true, "*"},
    };
    for (const auto& c : cases) {
        const platform::internet::EnvironmentLookup lookup = [&](const char* name) -> const char* {
            const auto found = c.env.find(name);
            return found == c.env.end() ? nullptr : found->second.c_str();
        };
        EXPECT_EQ(platform::internet::EnvironmentNamesProxy(lookup), c.named) << c.env.size();
        EXPECT_EQ(platform::internet::NoProxyList(lookup, "mapped"), c.direct);
    }
}

} // namespace
} // namespace tollivex::test
