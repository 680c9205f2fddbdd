#include "transfer/HeaderBlock.h"
#include "transfer/TransferProgress.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>

namespace tollivex {
namespace {

struct HeaderCase {
    const char* name;
    std::string block;
    std::string lastModified;
    float fileSize;
    std::string remoteName;
    std::string remoteType;
    bool exists;
};

TEST(ParseHeaderBlock, TableOfAnswers)
{
    const HeaderCase cases[] = {
        {"full answer",
         "HTTP/1.1 200 OK\r\nLast-Modified: Tue, 04 Mar 2008 10:00:00 GMT\r\nContent-Length: 5000\r\n"
         "Content-Type: video/x-flv\r\nContent-Disposition: attachment; filename=clip.flv\r\n\r\n",
         "Tue, 04 Mar 2008 10:00:00 GMT", 5000, "clip.flv", "x-flv", true},
        {"nothing known", "HTTP/1.1 200 OK\r\nServer: x\r\n\r\n", "Not Available", -1, "", "", true},
        {"labels in any case, values keep theirs",
         "HTTP/1.1 200 OK\r\nLAST-MODIFIED: Mon, 01 Jan 2007\r\ncontent-type: Video/X-MS-WMV\r\n\r\n",
         "Mon, 01 Jan 2007", -1, "", "X-MS-WMV", true},
        {"last-modified without the space", "HTTP/1.1 200 OK\r\nLast-Modified:Tue, 04 Mar 2008\r\n\r\n",
         "Not Available", -1, "", "", true},
        {"quoted file name keeps quotes and later parameters",
         "HTTP/1.1 200 OK\r\nContent-Disposition: attachment; filename=\"my clip.flv\"; size=5\r\n\r\n",
         "Not Available", -1, "\"my clip.flv\"; size=5", "", true},
        {"type without a slash is kept whole", "HTTP/1.1 200 OK\r\nContent-Type: flv\r\n\r\n", "Not Available", -1, "",
         "flv", true},
        {"type parameters stay with the subtype", "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n\r\n",
         "Not Available", -1, "", "html; charset=utf-8", true},
        {"size zero", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", "Not Available", 0, "", "", true},
        {"size not a number keeps the other fields",
         "HTTP/1.1 200 OK\r\nContent-Type: video/flv\r\nContent-Length: lots\r\nLast-Modified: today\r\n\r\n", "today",
         -1, "", "flv", true},
        {"negative size is no size", "HTTP/1.1 200 OK\r\nContent-Length: -5\r\n\r\n", "Not Available", -1, "", "",
         true},
        {"size with blanks", "HTTP/1.1 200 OK\r\nContent-Length:  42 \r\n\r\n", "Not Available", 42, "", "", true},
        {"size past 4 GiB", "HTTP/1.1 200 OK\r\nContent-Length: 6442450944\r\n\r\n", "Not Available", 6442450944.0f, "",
         "", true},
        {"size beyond any float", "HTTP/1.1 200 OK\r\nContent-Length: " + std::string(60, '9') + "\r\n\r\n",
         "Not Available", -1, "", "", true},
        {"404 of HTTP/1.1", "HTTP/1.1 404 Not Found\r\nContent-Length: 10\r\n\r\n", "Not Available", 10, "", "", false},
        {"404 of HTTP/1.1 in lower case", "http/1.1 404 not found\r\n\r\n", "Not Available", -1, "", "", false},
        {"404 File Not Found", "HTTP/1.1 404 File Not Found\r\n\r\n", "Not Available", -1, "", "", false},
        {"404 of HTTP/1.0 is an error page too", "HTTP/1.0 404 Not Found\r\n\r\n", "Not Available", -1, "", "", false},
        {"404 with another reason", "HTTP/1.1 404 Gone Away\r\n\r\n", "Not Available", -1, "", "", false},
        {"403 exists", "HTTP/1.1 403 Forbidden\r\n\r\n", "Not Available", -1, "", "", true},
        {"500 exists", "HTTP/1.0 500 Internal Server Error\r\n\r\n", "Not Available", -1, "", "", true},
        {"4040 is no 404", "HTTP/1.1 4040 Odd\r\n\r\n", "Not Available", -1, "", "", true},
        {"value without CR LF runs to the end", "HTTP/1.1 200 OK\r\nContent-Type: video/x-flv", "Not Available", -1, "",
         "x-flv", true},
        {"last label in the block", "HTTP/1.1 200 OK\r\nContent-Length: ", "Not Available", -1, "", "", true},
        {"empty block", "", "Not Available", -1, "", "", true},
    };
    for (const auto& c : cases) {
        const HeaderInformation info = ParseHeaderBlock(c.block);
        EXPECT_EQ(info.LastModified, c.lastModified) << c.name;
        EXPECT_EQ(info.FileSize, c.fileSize) << c.name;
        EXPECT_EQ(info.RemoteFileName, c.remoteName) << c.name;
        EXPECT_EQ(info.RemoteFileType, c.remoteType) << c.name;
        EXPECT_EQ(info.FileExists, c.exists) << c.name;
    }
}

TEST(ParseHeaderBlock, AnyBytesAreSafe)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    const std::string pieces[] = {"content-length: ", "\r\n",          "Content-Type: ", "/",
                                  "filename=",        "HTTP/1.1 404 ", "last-modified: "};
    for (int round = 0; round < 2000; ++round) {
        std::string block;
        const int parts = round % 12;
        for (int i = 0; i < parts; ++i) {
            if (byte(random) < 100)
                block += pieces[static_cast<std::size_t>(byte(random)) % std::size(pieces)];
            else
                block += static_cast<char>(byte(random));
        }
        const HeaderInformation info = ParseHeaderBlock(block);
        EXPECT_TRUE(info.FileSize == -1 || info.FileSize >= 0);
    }
}

TEST(ProgressValue, PercentagesRoundHalvesToEvenAndCountsClamp)
{
    EXPECT_EQ(ProgressValue(2048, 5000), 41);
    EXPECT_EQ(ProgressValue(4096, 5000), 82);
    EXPECT_EQ(ProgressValue(5000, 5000), 100);
    EXPECT_EQ(ProgressValue(0, 5000), 0);
    EXPECT_EQ(ProgressValue(1, 8), 12);         // 12.5 goes to the even 12
    EXPECT_EQ(ProgressValue(3, 8), 38);         // 37.5 goes to the even 38
    EXPECT_EQ(ProgressValue(10000, 5000), 200); // not capped at 100
    // Unknown or zero size: the byte count itself.
    EXPECT_EQ(ProgressValue(4096, -1), 4096);
    EXPECT_EQ(ProgressValue(4096, 0), 4096);
    // Past 2 GiB the count is clamped, never wrapped into negatives.
    const std::int64_t threeGiB = 3LL * 1024 * 1024 * 1024;
    EXPECT_EQ(ProgressValue(threeGiB, -1), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ProgressValue(threeGiB, 4.0f * 1024 * 1024 * 1024), 75);
    // A size far smaller than the data: the percentage is clamped too.
    EXPECT_EQ(ProgressValue(5000, 1e-6f), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ClampToInt32(-1e12), std::numeric_limits<std::int32_t>::min());
}

} // namespace
} // namespace tollivex
