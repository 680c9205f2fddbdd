// A video reaches its name only whole: servers that answer with something
// else than the whole file, a stop and a folder removed under the transfer,
// each against the item's own older copy; and whatever else the folder holds
// (the user's files, other videos, links, folders, partial files) stays as it is.

#include "RunFixture.h"

#include "platform/DiskFile.h"
#include "platform/FileSystem.h"
#include "queue/DownloadQueue.h"
#include "scheduler/VideoFile.h"
#include "transfer/Download.h"

#include <cstdlib>
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
        std::string head; // the answer to the information request
        std::string get;  // the answer to the GET, sent whole, then the connection closes
        During during;
        const char* status;
        std::map<std::string, std::size_t> files; // what the folder holds afterwards
        std::string reason;                       // the row's tool tip begins so
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
        {"204",
         announced,
         Head("204 No Content", ""),
         During::Nothing,
         "ERROR",
         {{"v.flv", older}},
         "The server answered 204" + notTheVideo},
        {"304",
         announced,
         Head("304 Not Modified", ""),
         During::Nothing,
         "ERROR",
         {{"v.flv", older}},
         "The server answered 304" + notTheVideo},
        {"206",
         announced,
         Head("206 Partial Content", Length(10000) + "Content-Range: bytes 0-9999/307200\r\n") + video.substr(0, 10000),
         During::Nothing,
         "ERROR",
         {{"v.flv", older}},
         "The server answered 206" + notTheVideo},
        {"302 without Location",
         announced,
         Head("302 Found", Length(0)),
         During::Nothing,
         "ERROR",
         {{"v.flv", older}},
         "The server answered 302" + notTheVideo},
        {"503",
         announced,
         Head("503 Service Unavailable", Length(5)) + "later",
         During::Nothing,
         "ERROR",
         {{"v.flv", older}},
         "The server answered 503" + notTheVideo},
        {"a page instead of 5,000,000 bytes",
         Head("200 OK", Length(5000000)),
         Head("200 OK", Length(46)) + std::string(46, 'h'),
         During::Nothing,
         "ERROR",
         {{"v.flv", older}, {"v.flv.part", 46}},
         "The download ended early at 46 Bytes of 4.8 MB. Try again."},
        {"no length, closed early",
         announced,
         Head("200 OK", "") + video.substr(0, 102400),
         During::Nothing,
         "ERROR",
         {{"v.flv", older}, {"v.flv.part", 102400}},
         "The download ended early at 100 KB of 300 KB. Try again."},
        {"announced length, closed early",
         announced,
         announced + video.substr(0, 100000),
         During::Nothing,
         "ERROR",
         {{"v.flv", older}, {"v.flv.part", 100000}},
         "The download ended early at 97.7 KB of 300 KB. Try again."},
        {"longer than announced",
         announced,
         Head("200 OK", Length(400000)) + VideoBytes(400000),
         During::Nothing,
         "ERROR",
         {{"v.flv", older}, {"v.flv.part", 400000}},
         "The server sent 390.6 KB, more than the 300 KB it announced, so it is not the video. Try again later."},
        {"a long information answer",
         Head("200 OK", Length(kVideoSize) + "Set-Cookie: " + std::string(1500, 'c') + "\r\n"),
         Head("200 OK", "") + video.substr(0, 102400),
         During::Nothing,
         "ERROR",
         {{"v.flv", older}, {"v.flv.part", 102400}},
         "The download ended early at 100 KB of 300 KB. Try again."},
        {"a refused information request",
         Head("405 Method Not Allowed", Length(77)),
         whole,
         During::Nothing,
         "Complete",
         {{"v.flv", kVideoSize}},
         ""},
        {"stopped", announced, whole, During::Stop, "Cancelled", {{"v.flv", older}, {"v.flv.part", 0}}, "Stopped at "},
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
        std::filesystem::remove_all(downloadDir);
        WriteCopy("v.flv", kOlder, PageAddress("/p.html"));
        Queue(PageAddress("/p.html"));
        bool acted = false;
        onProgress = [&](const EventRecord& r) {
            if (acted || r.fetchingPage || row.during == During::Nothing)
                return;
            acted = true;
            if (row.during == During::Stop)
                form->Scheduler.cmdStartDownload_Click();
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
        // Without a size from the server, the finished item shows the size of what arrived.
        if (row.status == std::string("Complete")) {
            EXPECT_EQ(DownloadQueue[0].FileSize, "300 KB");
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

namespace tollivex::test {
namespace {

// What the download folder holds, judged by bytes and attributes: name ->
// "link", "folder", or the content's tag, with "+own" for the copy of `page`.
std::map<std::string, std::string> Judged(const std::string& folder, const std::map<std::string, std::string>& tags,
                                          const std::string& page)
{
    std::map<std::string, std::string> judged;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string path = entry.path().string();
        std::string& what = judged[entry.path().filename().string()];
        if (entry.is_symlink()) {
            what = "link";
        } else if (entry.is_directory()) {
            what = "folder";
        } else {
            const std::string bytes = platform::ReadWholeFile(path).value_or("");
            what = "? " + std::to_string(bytes.size());
            for (const auto& [tag, content] : tags)
                if (content == bytes)
                    what = tag;
            if (IsOwnCopy(path, page))
                what += "+own";
        }
    }
    return judged;
}

TEST_F(RunFixture, NothingTheFolderHoldsIsWrittenThroughReplacedOrRemovedButTheItemsOwnCopies)
{
    enum class Put { OwnCopy, OtherVideo, UserFile, Link, Folder };
    struct Row {
        const char* what;
        std::vector<std::pair<std::string, Put>> before;
        std::map<std::string, std::string> after;
        const char* listed; // the name the list shows
    };
    const Row rows[] = {
        {"empty folder", {}, {{"v.flv", "video+own"}}, "v.flv"},
        {"own older copy", {{"v.flv", Put::OwnCopy}}, {{"v.flv", "video+own"}}, "v.flv"},
        {"another video", {{"v.flv", Put::OtherVideo}}, {{"v.flv", "other"}, {"v (2).flv", "video+own"}}, "v (2).flv"},
        {"the user's file and (2)",
         {{"v.flv", Put::UserFile}, {"v (2).flv", Put::UserFile}},
         {{"v.flv", "user"}, {"v (2).flv", "user"}, {"v (3).flv", "video+own"}},
         "v (3).flv"},
        {"a link", {{"v.flv", Put::Link}}, {{"v.flv", "link"}, {"v (2).flv", "video+own"}}, "v (2).flv"},
        {"a folder", {{"v.flv", Put::Folder}}, {{"v.flv", "folder"}, {"v (2).flv", "video+own"}}, "v (2).flv"},
        {"own partial file", {{"v.flv.part", Put::OwnCopy}}, {{"v.flv", "video+own"}}, "v.flv"},
        {"someone's partial file",
         {{"v.flv.part", Put::UserFile}},
         {{"v.flv.part", "user"}, {"v.flv", "video+own"}},
         "v.flv"},
        {"a link as partial file",
         {{"v.flv.part", Put::Link}},
         {{"v.flv.part", "link"}, {"v.flv", "video+own"}},
         "v.flv"},
        {"another video's partial and final",
         {{"v.flv.part", Put::OtherVideo}, {"v.flv", Put::OtherVideo}},
         {{"v.flv.part", "other"}, {"v.flv", "other"}, {"v (2).flv", "video+own"}},
         "v (2).flv"},
    };
    const std::string video = VideoBytes(30000);
    const std::map<std::string, std::string> tags = {
        {"video", video}, {"older", kOlder}, {"other", "another item's video"}, {"user", "the user's own file"}};
    const std::string outside = temp.Write("outside.txt", "outside the download folder");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TearDown();
        SetUp();
        std::filesystem::remove_all(downloadDir);
        platform::CreateFolder(downloadDir);
        const std::string page = PageAddress("/p.html");
        for (const auto& [name, put] : row.before) {
            const std::string path = platform::JoinPath(downloadDir, name);
            if (put == Put::OwnCopy)
                WriteCopy(name, kOlder, page);
            else if (put == Put::OtherVideo)
                WriteCopy(name, tags.at("other"), PageAddress("/other.html"));
            else if (put == Put::UserFile)
                WriteCopy(name, tags.at("user"));
            else if (put == Put::Link)
                std::filesystem::create_symlink(outside, path);
            else
                platform::CreateFolder(path);
            if (put == Put::UserFile)
                std::filesystem::permissions(path, std::filesystem::perms::owner_read);
        }
        ServePage("/p.html", "/v.flv");
        server->Serve("/v.flv", video);
        Queue(page);
        Run();

        EXPECT_EQ(ItemStatus(0), "Complete");
        EXPECT_EQ(DownloadQueue[0].FileName, row.listed);
        EXPECT_EQ(Judged(downloadDir, tags, page), row.after);
        EXPECT_EQ(platform::ReadWholeFile(outside), "outside the download folder");
        // The user's read-only file stays read-only.
        for (const auto& [name, put] : row.before) {
            if (put == Put::UserFile) {
                EXPECT_EQ(std::filesystem::status(platform::JoinPath(downloadDir, name)).permissions(),
                          std::filesystem::perms::owner_read);
            }
        }
    }
}

TEST_F(RunFixture, AFailedAnswerLeavesSomeoneElsesPartialFileAndNothingOfItsOwn)
{
    ServePage("/p.html", "/v.flv");
    server->Serve("/v.flv", "", {}, 503);
    WriteCopy("v.flv.part", "another program's partial download");
    Queue(PageAddress("/p.html"));
    Run();
    EXPECT_EQ(ItemStatus(0), "ERROR");
    EXPECT_EQ(FolderContent(downloadDir), (std::map<std::string, std::size_t>{{"v.flv.part", 34}}));
}

TEST_F(RunFixture, ALinkPlantedWhileTheAnswerIsAwaitedIsNeverWrittenThroughNorPublished)
{
    const std::string outside = temp.Write("outside.txt", "outside");
    const std::string part = platform::JoinPath(downloadDir, "v.flv.part");
    ServePage("/p.html", "/v.flv");
    const std::string video = VideoBytes(20000);
    server->Route("/v.flv", [&](const HttpTestRequest& request, HttpTestConnection& c) {
        if (request.method == "GET") {
            // Someone with write access to the folder swaps the file for a link.
            std::filesystem::remove(part);
            std::filesystem::create_symlink(outside, part);
        }
        c.Send(HttpTestServer::Response(200, "OK", request.method == "GET" ? video : "",
                                        {{"Content-Length", std::to_string(video.size())}}));
    });
    Queue(PageAddress("/p.html"));
    Run();
    EXPECT_EQ(ItemStatus(0), "ERROR");
    EXPECT_EQ(platform::ReadWholeFile(outside), "outside");
    EXPECT_EQ(platform::EntryAt(platform::JoinPath(downloadDir, "v.flv")), platform::EntryKind::None);
    EXPECT_EQ(platform::EntryAt(part), platform::EntryKind::Link);
}

TEST_F(RunFixture, ANameThatFitsTheDiskOnlyWithoutTheTemporarySuffixIsSavedWhole)
{
    std::string name;
    for (int i = 0; i < 83; ++i)
        name += "\xE6\x97\xA5"; // 3 bytes each: 249 + ".flv" = 253 bytes, 87 characters
    name += ".flv";
    ServePage("/p.html", "/get");
    server->Serve("/get", VideoBytes(5000), {{"Content-Disposition", "attachment; filename=" + name}});
    Queue(PageAddress("/p.html"));
    Run();
    EXPECT_EQ(ItemStatus(0), "Complete");
    EXPECT_EQ(DownloadQueue[0].FileName, name);
    EXPECT_TRUE(FileHolds(name, VideoBytes(5000)));
}

// ramfs keeps no extended attributes: there, no file is the item's own, so
// nothing is continued or replaced.
TEST_F(RunFixture, WhereTheFolderKeepsNoAttributesNothingContinuesAndEveryDownloadGoesBeside)
{
    const std::string mount = temp.File("ramfs");
    platform::CreateFolder(mount);
    if (std::system(("mount -t ramfs none '" + mount + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "mounting a folder without extended attributes is refused here";
    struct Unmount {
        std::string folder;
        ~Unmount() { std::system(("umount '" + folder + "'").c_str()); }
    } unmount{mount};
    sDownloadDir = downloadDir = platform::JoinPath(mount, "videos");
    ServePage("/p.html", "/v.flv");
    server->Serve("/v.flv", VideoBytes(30000), {{"ETag", "\"e1\""}});
    Queue(PageAddress("/p.html"));
    onProgress = [this](const EventRecord& r) {
        if (!r.fetchingPage && !form->Scheduler.State().bStopRequested())
            form->Scheduler.cmdStartDownload_Click(); // stopped once, with bytes under ".part"
    };
    Run();
    onProgress = {};
    for (int attempt = 0; attempt < 2; ++attempt) {
        DownloadQueue[0].Status = "Waiting";
        DownloadQueue[0].FileName = "v.flv";
        Run();
        EXPECT_EQ(ItemStatus(0), "Complete");
    }
    auto files = FolderContent(downloadDir);
    EXPECT_GT(files["v.flv.part"], 0u);
    files.erase("v.flv.part");
    EXPECT_EQ(files, (std::map<std::string, std::size_t>{{"v.flv", 30000}, {"v (2).flv", 30000}}));
    for (const HttpTestRequest& request : server->Requests())
        EXPECT_FALSE(request.HasHeader("Range"));
}

TEST_F(RunFixture, AnItemStartedAgainContinuesItsOwnPartialFileWhereItStopped)
{
    const std::string video = VideoBytes(200000);
    const std::string page = PageAddress("/p.html");
    WriteCopy("v.flv.part", video.substr(0, 180000), page);
    platform::DiskFile::OpenRegular(platform::JoinPath(downloadDir, "v.flv.part"))
        ->SetAttribute(kValidatorAttribute, "\"e1\"");
    ServePage("/p.html", "/v.flv");
    std::string asked;
    server->Route("/v.flv", [&](const HttpTestRequest& request, HttpTestConnection& c) {
        HttpHeaders headers{{"ETag", "\"e1\""}};
        if (request.method == "HEAD") {
            headers.emplace_back("Content-Length", std::to_string(video.size()));
            c.Send(HttpTestServer::ResponseHead(200, "OK", headers));
            return;
        }
        asked = request.Header("Range") + " if " + request.Header("If-Range");
        headers.emplace_back("Content-Range", "bytes 180000-199999/200000");
        c.Send(HttpTestServer::Response(206, "Partial Content", video.substr(180000), headers));
    });
    Queue(page);
    Run();
    EXPECT_EQ(ItemStatus(0), "Complete");
    EXPECT_TRUE(FileHolds("v.flv", video));
    EXPECT_EQ(asked, "bytes=180000- if \"e1\"");
    const std::vector<std::string> shown = StatusesOf(0, false);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), "91"); // 182,048 of 200,000 bytes: from where the file stood
}

} // namespace
} // namespace tollivex::test
