// A video reaches its name only whole: servers that answer with something
// else than the whole file, a stop and a folder removed under the transfer,
// each against an older file of the same name; and finished videos that a
// later item of the same name must not replace.

#include "RunFixture.h"

#include "platform/FileSystem.h"
#include "queue/DownloadQueue.h"

#include <filesystem>
#include <map>

namespace tollivex::test {
namespace {

constexpr std::size_t kVideoSize = 307200;
const std::string kOlder = "an older video of the same name";

std::string Head(const std::string& statusLine, const std::string& headers)
{
    return "HTTP/1.1 " + statusLine + "\r\n" + headers + "Connection: close\r\n\r\n";
}

std::string Length(std::size_t size) { return "Content-Length: " + std::to_string(size) + "\r\n"; }

// What the folder holds: name -> size.
std::map<std::string, std::size_t> FolderContent(const std::string& folder)
{
    std::map<std::string, std::size_t> content;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        content[entry.path().filename().string()] = static_cast<std::size_t>(entry.file_size());
    return content;
}

TEST_F(RunFixture, OnlyTheWholeVideoEverTakesItsNameAndAnOlderFileSurvivesEveryFailure)
{
    enum class During { Nothing, Stop, RemoveFolder };
    struct Row {
        const char* what;
        std::string head;  // the answer to the information request
        std::string get;   // the answer to the GET, sent whole, then the connection closes
        During during;
        const char* status;
        std::map<std::string, std::size_t> files;  // what the folder holds afterwards
        std::string reason;                         // the row's tool tip begins so
    };
    const std::string notTheVideo = ", not the video. Try again later.";
    const std::string folderNotWritten =
        "The folder could not be written. Check that the download folder exists and has room.";
    const std::string video = VideoBytes(kVideoSize);
    const std::string announced = Head("200 OK", Length(kVideoSize));
    const std::string whole = announced + video;
    const std::size_t older = kOlder.size();
    const Row rows[] = {
        {"whole", announced, whole, During::Nothing, "Complete", {{"v.flv", kVideoSize}}, ""},
        {"204", announced, Head("204 No Content", ""), During::Nothing, "ERROR", {{"v.flv", older}},
         "The server answered 204" + notTheVideo},
        {"304", announced, Head("304 Not Modified", ""), During::Nothing, "ERROR", {{"v.flv", older}},
         "The server answered 304" + notTheVideo},
        {"206", announced,
         Head("206 Partial Content", Length(10000) + "Content-Range: bytes 0-9999/307200\r\n") + video.substr(0, 10000),
         During::Nothing, "ERROR", {{"v.flv", older}}, "The server answered 206" + notTheVideo},
        {"302 without Location", announced, Head("302 Found", Length(0)), During::Nothing, "ERROR",
         {{"v.flv", older}}, "The server answered 302" + notTheVideo},
        {"503", announced, Head("503 Service Unavailable", Length(5)) + "later", During::Nothing, "ERROR",
         {{"v.flv", older}}, "The server answered 503" + notTheVideo},
        {"a page instead of 5,000,000 bytes", Head("200 OK", Length(5000000)),
         Head("200 OK", Length(46)) + std::string(46, 'h'), During::Nothing, "ERROR",
         {{"v.flv", older}, {"v.flv.part", 46}}, "The download ended early at 46 Bytes of 4.8 MB. Try again."},
        {"no length, closed early", announced, Head("200 OK", "") + video.substr(0, 102400), During::Nothing,
         "ERROR", {{"v.flv", older}, {"v.flv.part", 102400}},
         "The download ended early at 100 KB of 300 KB. Try again."},
        {"announced length, closed early", announced, announced + video.substr(0, 100000), During::Nothing,
         "ERROR", {{"v.flv", older}, {"v.flv.part", 100000}},
         "The download ended early at 97.7 KB of 300 KB. Try again."},
        {"longer than announced", announced, Head("200 OK", Length(400000)) + VideoBytes(400000), During::Nothing,
         "ERROR", {{"v.flv", older}, {"v.flv.part", 400000}},
         "The server sent 390.6 KB, more than the 300 KB it announced, so it is not the video. Try again later."},
        {"stopped", announced, whole, During::Stop, "Cancelled", {{"v.flv", older}, {"v.flv.part", 0}},
         "Stopped at "},
        {"folder removed", announced, whole, During::RemoveFolder, "ERROR", {}, folderNotWritten},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TearDown();
        SetUp();
        ServePage("/p.html", "/v.flv");
        const std::string head = row.head;
        const std::string get = row.get;
        server->Route("/v.flv", [head, get](const HttpTestRequest& request, HttpTestConnection& c) {
            c.Send(request.method == "HEAD" ? head : get);
            c.Close();
        });
        temp.Write("videos/v.flv", kOlder);
        Queue(PageAddress("/p.html"));
        bool acted = false;
        onProgress = [&](const EventRecord& r) {
            if (acted || r.fetchingPage || row.during == During::Nothing)
                return;
            acted = true;
            if (row.during == During::Stop)
                form->cmdStartDownload_Click();
            else
                std::filesystem::remove_all(downloadDir);
        };
        Run();

        EXPECT_EQ(ItemStatus(0), row.status);
        const std::string tip = StatusTip(0);
        EXPECT_EQ(tip.substr(0, row.reason.empty() ? std::string::npos : row.reason.size()), row.reason) << tip;
        auto files = FolderContent(downloadDir);
        // A stopped transfer keeps what it had under ".part"; its size depends on the moment.
        if (row.during == During::Stop && files.count("v.flv.part"))
            files["v.flv.part"] = 0;
        EXPECT_EQ(files, row.files);
        if (row.files.count("v.flv")) {
            EXPECT_TRUE(FileHolds("v.flv", row.files.at("v.flv") == older ? kOlder : video));
        }
    }
}

TEST_F(RunFixture, AFinishedVideoRenamedInTheListIsNeverReplacedByAnotherItem)
{
    ServePage("/one.html", "/x/clip.flv");
    ServePage("/two.html", "/y/clip.flv");
    server->Serve("/x/clip.flv", VideoBytes(3000, 'x'));
    server->Serve("/y/clip.flv", VideoBytes(4000, 'y'));
    Queue(PageAddress("/one.html"));
    Run();
    ASSERT_EQ(ItemStatus(0), "Complete");
    // The user renames the finished item in the list; its file keeps its name.
    DownloadQueue[0].FileName = "renamed.flv";
    Queue(PageAddress("/two.html"));
    Run();

    EXPECT_EQ(ItemStatus(1), "Complete");
    EXPECT_EQ(DownloadQueue[1].FileName, "clip (2).flv");
    EXPECT_TRUE(FileHolds("clip.flv", VideoBytes(3000, 'x')));
    EXPECT_TRUE(FileHolds("clip (2).flv", VideoBytes(4000, 'y')));
    EXPECT_FALSE(platform::FileExists(platform::JoinPath(downloadDir, "renamed.flv")));
}

} // namespace
} // namespace tollivex::test
