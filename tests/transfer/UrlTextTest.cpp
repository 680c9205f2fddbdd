#include "transfer/Download.h"

#include <gtest/gtest.h>

namespace tollivex {
namespace {

struct SplitCase {
    std::string address;
    std::string host;
    std::string path;
};

TEST(SplitUrl, HostAndPathForEveryAddressForm)
{
    const SplitCase cases[] = {
        {"http://www.example.com/videos/a.flv", "www.example.com", "/videos/a.flv"},
        {"HTTP://www.example.com/videos/a.flv", "www.example.com", "/videos/a.flv"},
        {"HtTp://www.example.com/videos/a.flv", "www.example.com", "/videos/a.flv"},
        {"www.example.com/videos/a.flv", "www.example.com", "/videos/a.flv"},
        {"http://www.example.com/a?b=c/d", "www.example.com", "/a?b=c/d"},
        {"http://www.example.com/", "www.example.com", "/"},
        // No "/" after the host: the path keeps what it held (here the marker).
        {"http://www.example.com", "www.example.com", "unchanged"},
        {"www.example.com", "www.example.com", "unchanged"},
        // The port stays part of the host text.
        {"http://www.example.com:8080/a.flv", "www.example.com:8080", "/a.flv"},
        // Only http:// is a scheme: a secure prefix stays in the host.
        {"https://www.example.com/a.flv", "https:", "//www.example.com/a.flv"},
        {"ftp://host/a", "ftp:", "//host/a"},
        {"http:/", "http:", "/"},
        {"", "", "unchanged"},
    };
    for (const auto& c : cases) {
        std::string host = c.address;
        std::string path = "unchanged";
        SplitUrl(host, path);
        EXPECT_EQ(host, c.host) << c.address;
        EXPECT_EQ(path, c.path) << c.address;
    }
}

TEST(TakeSecureScheme, OnlyALeadingHttpsInAnyCase)
{
    const std::pair<std::string, std::string> taken[] = {{"https://h.com/a.flv", "h.com/a.flv"},
                                                         {"HTTPS://h.com:8443/a", "h.com:8443/a"}};
    for (auto [address, rest] : taken) {
        EXPECT_TRUE(TakeSecureScheme(address));
        EXPECT_EQ(address, rest);
    }
    for (std::string address : {"http://h.com/a", "h.com/https://x", "https:/h.com", ""}) {
        const std::string before = address;
        EXPECT_FALSE(TakeSecureScheme(address));
        EXPECT_EQ(address, before);
    }
}

TEST(TrimAtNul, CutsAtTheFirstNul)
{
    EXPECT_EQ(TrimAtNul(std::string("200\0\0  ", 7)), "200");
    EXPECT_EQ(TrimAtNul(std::string("\0abc", 4)), "");
    EXPECT_EQ(TrimAtNul("404"), "404");
    EXPECT_EQ(TrimAtNul(""), "");
}

} // namespace
} // namespace tollivex
