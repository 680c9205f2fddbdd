// A stop during a name lookup that the name server never answers: the
// component's wait ends at once, it does not wait for the lookup. Run through
// run-with-silent-names.sh, where 127.0.0.1:53 is the only name server.

#include "support/TempFolder.h"
#include "transfer/Download.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tollivex {
namespace {

/// A name server that takes the questions on 127.0.0.1:53 and answers none.
class SilentNameServer {
public:
    SilentNameServer()
    {
        fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(53);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            error_ = std::strerror(errno);
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~SilentNameServer()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool Listening() const { return fd_ >= 0; }
    const std::string& Error() const { return error_; }
    /// True when a question holding `label` has arrived since the last look.
    bool Asked(const std::string& label)
    {
        char question[1500];
        ssize_t got;
        bool asked = false;
        while ((got = ::recv(fd_, question, sizeof question, 0)) > 0)
            asked = asked || std::string(question, static_cast<std::size_t>(got)).find(label) != std::string::npos;
        return asked;
    }

private:
    int fd_ = -1;
    std::string error_;
};

long long MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

TEST(NameLookup, AStopDuringALookupThatIsNeverAnsweredTakesEffectAtOnce)
{
    SilentNameServer nameServer;
    if (!nameServer.Listening())
        GTEST_SKIP() << "port 53 of the loopback cannot be held here: " << nameServer.Error();
    test::TempFolder folder;
    for (const bool transfer : {false, true}) {
        const char* what = transfer ? "the transfer's request" : "the information request";
        Download download;
        const std::string label = transfer ? "get-lookup" : "head-lookup";
        download.SetUrl("http://" + label + ".slow-names.test/clip.flv");
        download.SetLocalFile(folder.File("clip.flv"));
        if (transfer) {
            // Information asked for once (given up before it was sent): the transfer asks no more.
            download.StopWaiting = [] { return true; };
            download.RequestInformation();
        }
        // The stop comes once this row's question has reached the name server.
        const auto clock = std::chrono::steady_clock::now();
        long long stoppedAt = -1;
        download.StopWaiting = [&] {
            if (stoppedAt < 0 && nameServer.Asked(label))
                stoppedAt = MillisecondsSince(clock);
            return stoppedAt >= 0 || MillisecondsSince(clock) > 10000;
        };
        transfer ? static_cast<void>(download.StartDownload()) : download.RequestInformation();
        ASSERT_GE(stoppedAt, 0) << what << ": no question reached the name server";
        // Without the stop the wait lasts 30 s, the name server's time-out.
        EXPECT_LT(MillisecondsSince(clock) - stoppedAt, 1000) << what;
    }
}

} // namespace
} // namespace tollivex
