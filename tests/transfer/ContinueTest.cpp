// Continuing a file an earlier attempt left: the rest is asked for with the
// version's validator, appended only when it is exactly that version's rest,
// and every other answer starts the file over. Bytes of two versions are
// never joined.

#include "TransferTestSupport.h"
#include "platform/DiskFile.h"
#include "platform/FileSystem.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace tollivex::test {
namespace {

enum class Server {
    Honours,        // 206 for a matching If-Range, 200 with the whole file otherwise
    IgnoresRange,   // always 200
    Refuses,        // 416 for any range
    IgnoresIfRange, // 206 of whatever version it has now
    WrongOffset,    // a Content-Range that starts elsewhere
    WrongTotal,     // a Content-Range with another total
};

struct Version {
    std::string bytes;
    std::string etag; // "" when the server sends none
    std::string lastModified;
};

// Serves `now` for HEAD and GET as `kind` says, and notes each GET's Range and If-Range.
void ServeVersion(HttpTestServer& server, const Version& now, Server kind, std::vector<std::string>& asked)
{
    server.Route("/v.flv", [&now, kind, &asked](const HttpTestRequest& request, HttpTestConnection& c) {
        HttpHeaders headers;
        if (!now.etag.empty())
            headers.emplace_back("ETag", now.etag);
        if (!now.lastModified.empty())
            headers.emplace_back("Last-Modified", now.lastModified);
        const std::string range = request.Header("Range");
        if (request.method == "GET")
            asked.push_back(range.empty() ? "whole" : range + " if " + request.Header("If-Range"));
        const std::string validator = now.etag.empty() ? now.lastModified : now.etag;
        const bool sameVersion = request.Header("If-Range") == validator || kind == Server::IgnoresIfRange;
        if (request.method == "HEAD" || range.empty() || kind == Server::IgnoresRange || !sameVersion) {
            headers.emplace_back("Content-Length", std::to_string(now.bytes.size()));
            c.Send(HttpTestServer::ResponseHead(200, "OK", headers) + (request.method == "HEAD" ? "" : now.bytes));
            return;
        }
        if (kind == Server::Refuses) {
            c.Send(HttpTestServer::Response(416, "Range Not Satisfiable", "", headers));
            return;
        }
        std::size_t from = std::stoul(range.substr(6)); // "bytes=N-"
        std::size_t total = now.bytes.size();
        if (kind == Server::WrongOffset)
            from -= 100;
        if (kind == Server::WrongTotal)
            ++total;
        headers.emplace_back("Content-Range", "bytes " + std::to_string(from) + "-" +
                                                  std::to_string(now.bytes.size() - 1) + "/" + std::to_string(total));
        c.Send(HttpTestServer::Response(206, "Partial Content", now.bytes.substr(from), headers));
    });
}

TEST(ContinueDownload, OnlyTheRestOfTheSameVersionIsEverAppended)
{
    const Version first{PatternBytes(300000), "\"v1\"", ""};
    const Version dated{PatternBytes(300000), "", "Tue, 04 Mar 2008 10:00:00 GMT"};
    Version second{PatternBytes(300000), "\"v2\"", ""};
    for (char& c : second.bytes)
        c = static_cast<char>(c ^ 0x5a);
    const std::size_t kept = 270000;
    struct Row {
        const char* what;
        const Version& before; // the version of the kept bytes
        const Version& now;    // the version the server has now
        Server server;
        std::size_t keptBytes;
        bool validatorKept;
        std::vector<std::string> asked; // each GET's range and validator
        bool appended;
    };
    const std::string ifV1 = "bytes=270000- if \"v1\"";
    const Row rows[] = {
        {"ETag", first, first, Server::Honours, kept, true, {ifV1}, true},
        {"Last-Modified only",
         dated,
         dated,
         Server::Honours,
         kept,
         true,
         {"bytes=270000- if Tue, 04 Mar 2008 10:00:00 GMT"},
         true},
        {"range ignored", first, first, Server::IgnoresRange, kept, true, {ifV1}, false},
        {"416", first, first, Server::Refuses, kept, true, {ifV1, "whole"}, false},
        {"another version now", first, second, Server::Honours, kept, true, {ifV1}, false},
        {"another version's part sent", first, second, Server::IgnoresIfRange, kept, true, {ifV1, "whole"}, false},
        {"range at the wrong offset", first, first, Server::WrongOffset, kept, true, {ifV1, "whole"}, false},
        {"range with the wrong total", first, first, Server::WrongTotal, kept, true, {ifV1, "whole"}, false},
        {"kept bytes longer than the video", first, first, Server::Honours, 300010, true, {"whole"}, false},
        {"no validator kept", first, first, Server::Honours, kept, false, {"whole"}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TempFolder temp;
        HttpTestServer server;
        std::vector<std::string> asked;
        ServeVersion(server, row.now, row.server, asked);
        std::shared_ptr<platform::DiskFile> file = platform::DiskFile::CreateNew(temp.File("v.flv.part"));
        const std::string keptBytes = (row.before.bytes + std::string(100, 'x')).substr(0, row.keptBytes);
        ASSERT_TRUE(file->Append(keptBytes.data(), keptBytes.size()));
        if (row.validatorKept)
            file->SetAttribute(kValidatorAttribute,
                               row.before.etag.empty() ? row.before.lastModified : row.before.etag);

        Download download;
        EventLog log(download);
        download.SetUrl(server.Url("/v.flv"));
        download.SetLocalFile(file->Path());
        download.SetTargetFile(file, true);
        EXPECT_TRUE(download.StartDownload());

        EXPECT_EQ(asked, row.asked);
        EXPECT_EQ(download.ContinuedFrom(), row.appended ? static_cast<std::int64_t>(kept) : 0);
        // The percentage goes on from the kept bytes.
        ASSERT_FALSE(log.progress.empty());
        EXPECT_EQ(log.progress.front() >= 90, row.appended);
        EXPECT_EQ(platform::ReadWholeFile(file->Path()), row.now.bytes);
        EXPECT_EQ(download.BytesReceived(), static_cast<std::int64_t>(row.now.bytes.size()));
        EXPECT_EQ(file->Attribute(kValidatorAttribute), row.now.etag.empty() ? row.now.lastModified : row.now.etag);
    }
}

} // namespace
} // namespace tollivex::test
