// Whole download runs over a loopback web server: outcomes per item, names,
// files in the download folder, and the progress texts on the way.

#include "RunFixture.h"

#include "platform/FileSystem.h"
#include "queue/DownloadListTable.h"
#include "queue/DownloadQueue.h"
#include "shell/FormFactory.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace tollivex::test {
namespace {

using Variables = std::vector<std::pair<std::string, std::string>>;

// The real grid, every call passed on; `beforeRead` runs before each cell is read.
class WatchedGrid : public platform::GridControl {
public:
    using Row = std::optional<platform::GridRow>;
    using Cell = platform::GridCell;
    WatchedGrid(std::unique_ptr<platform::GridControl> real, std::function<void()> beforeRead)
        : real_(std::move(real)), beforeRead_(std::move(beforeRead))
    {
    }
    void SetDataSource(std::shared_ptr<const platform::GridTable> t) override { real_->SetDataSource(std::move(t)); }
    Row FirstRow() const override { return real_->FirstRow(); }
    Row LastRow() const override { return real_->LastRow(); }
    Row NextRow(const platform::GridRow& r) const override { return real_->NextRow(r); }
    Row PreviousRow(const platform::GridRow& r) const override { return real_->PreviousRow(r); }
    bool IsRowSelected(const platform::GridRow& r) const override { return real_->IsRowSelected(r); }
    void SetRowSelected(const platform::GridRow& r, bool on) override { real_->SetRowSelected(r, on); }
    std::string CellText(const Cell& c) const override
    {
        beforeRead_();
        return real_->CellText(c);
    }
    std::string CellTip(const Cell& c) const override { return real_->CellTip(c); }
    void SetCellValue(const Cell& c, const std::string& v) override { real_->SetCellValue(c, v); }
    bool IsCellSelected(const Cell& c) const override { return real_->IsCellSelected(c); }
    void SetCellSelected(const Cell& c, bool on) override { real_->SetCellSelected(c, on); }
    std::string ColumnKey(int column) const override { return real_->ColumnKey(column); }
    std::vector<Cell> SelectedCells() const override { return real_->SelectedCells(); }
    void SetCaption(const std::string& caption) override { real_->SetCaption(caption); }
    void SetColumnCaption(int c, const std::string& caption) override { real_->SetColumnCaption(c, caption); }
    void SetColumnWidthTwips(int c, float twips) override { real_->SetColumnWidthTwips(c, twips); }
    void SetColumnEditable(int c, bool on) override { real_->SetColumnEditable(c, on); }
    void SetAppearanceColors(platform::GridAppearance which, std::optional<platform::Rgb> back,
                             std::optional<platform::Rgb> fore, std::optional<platform::Rgb> third) override
    {
        real_->SetAppearanceColors(which, back, fore, third);
    }
    void SetColumnOption(int c, platform::GridColumnOption o, bool on) override { real_->SetColumnOption(c, o, on); }
    void SetGridOption(platform::GridOption o, bool on) override { real_->SetGridOption(o, on); }
    void SetHandlers(platform::GridHandlers handlers) override { real_->SetHandlers(std::move(handlers)); }
    void SetDrawFilter(platform::GridDrawFilter* filter) override { real_->SetDrawFilter(filter); }
    void SetVisible(bool visible) override { real_->SetVisible(visible); }
    bool IsVisible() const override { return real_->IsVisible(); }
    void BringToFront() override { real_->BringToFront(); }
    void SetGeometry(int l, int t, int w, int h) override { real_->SetGeometry(l, t, w, h); }
    bool IsActiveControl() const override { return real_->IsActiveControl(); }
    void Activate() override { real_->Activate(); }
    void ScrollRowRegion(int action) override { real_->ScrollRowRegion(action); }
    void SetRowNote(const platform::GridRow& r, const std::string& note) override { real_->SetRowNote(r, note); }
    void MakeCurrentRow(const platform::GridRow& r) override { real_->MakeCurrentRow(r); }

private:
    std::unique_ptr<platform::GridControl> real_;
    std::function<void()> beforeRead_;
};

TEST_F(RunFixture, ThreeItemsEndAsTheirPagesAllowAndTheMovieFollowsTheRun)
{
    const std::string first = VideoBytes(5000, 'a');
    const std::string third = VideoBytes(3000, 'k');
    ServePage("/one.html", "/one.flv");
    server->Serve("/one.flv", first, {{"Content-Type", "video/x-flv"}});
    ServePage("/three.html", "/three.flv");
    server->Serve("/three.flv", third, {{"Content-Type", "video/x-flv"}});
    ServePage("/done.html", "/done.flv");

    Queue(PageAddress("/one.html"));
    Queue(PageAddress("/done.html"));
    Queue("http://example.org/not-a-video-site");
    Queue(PageAddress("/three.html"));
    DownloadQueue[1].Status = "Complete";
    DownloadQueue[3].FileName = "my own name.flv"; // typed by the user
    form->sCurrentTab = "About";

    Run();

    ASSERT_EQ(DownloadQueue.size(), 4u);
    EXPECT_EQ(DownloadQueue[0].Status, "Complete");
    EXPECT_EQ(DownloadQueue[0].FileName, "one.flv");
    EXPECT_EQ(DownloadQueue[0].FileSize, "4.9 KB");
    EXPECT_TRUE(FileHolds("one.flv", first));

    EXPECT_EQ(DownloadQueue[1].Status, "Complete");
    EXPECT_EQ(DownloadQueue[1].FileName, "Waiting (Auto Detect)");
    EXPECT_EQ(server->RequestCount("/done.html"), 0);

    EXPECT_EQ(DownloadQueue[2].Status, "ERROR");
    EXPECT_EQ(DownloadQueue[2].FileName, "Un supported link");

    EXPECT_EQ(DownloadQueue[3].Status, "Complete");
    EXPECT_EQ(DownloadQueue[3].FileName, "my own name.flv");
    EXPECT_TRUE(FileHolds("my own name.flv", third));
    EXPECT_FALSE(FileHolds("three.flv", third)); // saved under the typed name only

    EXPECT_FALSE(form->Scheduler.State().bDownloading());
    EXPECT_EQ(form->Scheduler.cmdStartDownload.Caption, "Start Downloading");
    EXPECT_EQ(form->frmMenu.mnuDownload, "Start Downloading");
    EXPECT_TRUE(messages.empty());
    const Variables expected = {{"_root.downloadBtn", "0"},    {"_root.startDownload", "0"}, {"_root.downloadTab", "0"},
                                {"_root.downloadBtnTab", "1"}, {"_root.startDownload", "1"}, {"_root.downloadBtn", "1"},
                                {"_root.downloadTab", "1"}};
    EXPECT_EQ(movieVariables, expected);

    // A second run takes nothing: every item is Complete or ERROR.
    const int requests = server->RequestCount();
    Run();
    EXPECT_EQ(server->RequestCount(), requests);
}

TEST_F(RunFixture, StatusTextsFollowThePageFetchAndTheTransfer)
{
    // The first page's size is known (the component asks before its first
    // transfer); the second page is measured against the first video's size.
    ServePage("/a.html", "/a.flv");
    server->Serve("/a.flv", VideoBytes(5000), {{"Content-Type", "video/x-flv"}});
    ServePage("/b.html", "/b.flv");
    ServeSlowly("/b.flv", VideoBytes(5000, 'q'), 1500, 5, /*announceSize=*/false);
    Queue(PageAddress("/a.html"));
    Queue(PageAddress("/b.html"));

    Run();

    ASSERT_EQ(ItemStatus(0), "Complete");
    const std::vector<std::string> pageA = StatusesOf(0, true);
    ASSERT_FALSE(pageA.empty());
    for (const std::string& s : pageA)
        EXPECT_TRUE(s.rfind("Preperaing (", 0) == 0 || s == "Preperaing...") << s;
    EXPECT_EQ(pageA.back(), "Preperaing (100%)");
    EXPECT_EQ(StatusesOf(0, false), (std::vector<std::string>{"41", "82", "100", "100"}));

    // The page-complete event shows "Start Downloading..." before the resolver runs.
    bool sawStart = false;
    for (const EventRecord& r : events)
        sawStart = sawStart ||
                   (r.event == "complete" && r.fetchingPage && r.index == 0 && r.status == "Start Downloading...");
    EXPECT_TRUE(sawStart);

    // The grid's status cell carries the same text as the queue during the transfer.
    for (const EventRecord& r : events) {
        if (r.event == "progress" && !r.fetchingPage) {
            EXPECT_EQ(r.cell, r.status);
        }
    }

    // No size announced: "0" marks it, the progress shows bytes so far, and
    // the finished item the size of what arrived.
    ASSERT_EQ(ItemStatus(1), "Complete");
    EXPECT_EQ(DownloadQueue[1].FileSize, "4.9 KB");
    const std::vector<std::string> videoB = StatusesOf(1, false);
    ASSERT_GE(videoB.size(), 3u);
    EXPECT_EQ(videoB.front(), "2 KBso far..");
    EXPECT_EQ(videoB.back(), "4.9 KBso far..");
    EXPECT_TRUE(FileHolds("b.flv", VideoBytes(5000, 'q')));
}

TEST_F(RunFixture, ALastItemThatCannotGetRoomShowsItsEndInTheGrid)
{
    ServePage("/a.html", "/a.flv");
    server->Serve("/a.flv", VideoBytes(3000));
    ServePage("/b.html", "/b.flv");
    server->Serve("/b.flv", VideoBytes(3000));
    Queue(PageAddress("/a.html"));
    Queue(PageAddress("/b.html"));
    // The download folder goes while the last item's page arrives.
    onProgress = [this](const EventRecord& r) {
        if (r.fetchingPage && r.index == 1)
            std::filesystem::remove_all(downloadDir);
    };
    Run();

    EXPECT_EQ(ItemStatus(0), "Complete");
    EXPECT_EQ(ItemStatus(1), "ERROR");
    // The grid shows how the last item ended, not a text of its preparation.
    EXPECT_EQ(form->DownloadGrid().CellText({*form->DownloadGrid().LastRow(), colStatus}), "ERROR");
}

TEST_F(RunFixture, HostileServerNamesLandInsideTheDownloadFolder)
{
    const std::string body = VideoBytes(2100);
    ServePage("/a.html", "/get_a");
    server->Serve("/get_a", body, {{"Content-Disposition", "attachment; filename=\"../../x\""}});
    ServePage("/b.html", "/get_b");
    server->Serve("/get_b", body, {{"Content-Disposition", "attachment; filename=/etc/passwd"}});
    ServePage("/c.html", "/get_c");
    server->Serve("/get_c", body, {{"Content-Disposition", "attachment; filename=.."}});
    Queue(PageAddress("/a.html"));
    Queue(PageAddress("/b.html"));
    Queue(PageAddress("/c.html"));

    Run();

    EXPECT_EQ(DownloadQueue[0].FileName, "....x");
    EXPECT_TRUE(FileHolds("....x", body));
    EXPECT_EQ(DownloadQueue[1].FileName, "etcpasswd");
    EXPECT_TRUE(FileHolds("etcpasswd", body));
    EXPECT_EQ(DownloadQueue[2].FileName, "Enter File Name");
    EXPECT_TRUE(FileHolds("Enter File Name", body));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ItemStatus(i), "Complete") << i;
    // Nothing was written beside or above the download folder.
    EXPECT_FALSE(std::filesystem::exists(temp.File("x")));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(temp.Path()).parent_path() / "x"));
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(temp.Path())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 2); // the download folder and the program folder
}

TEST_F(RunFixture, FailedPagesAndFilesEndInErrorNeverComplete)
{
    // A page that is not there, a page without a video, a video that is not
    // there, and a good item after them that still arrives.
    server->Serve("/empty.html", "<html>nothing to see</html>");
    ServePage("/gone-video.html", "/gone.flv");
    ServePage("/good.html", "/good.flv");
    server->Serve("/good.flv", VideoBytes(4000));
    Queue(PageAddress("/missing.html"));
    Queue(PageAddress("/empty.html"));
    Queue(PageAddress("/gone-video.html"));
    Queue(PageAddress("/good.html"));
    // A page is taken as the server answers it: an empty answer, or one that
    // announces a length it never sends, holds no video; a partial page that
    // names one leads to it.
    server->ServeRaw("/no-content.html", "HTTP/1.1 204 No Content\r\n\r\n");
    server->ServeRaw("/not-modified.html", "HTTP/1.1 304 Not Modified\r\nContent-Length: 500\r\n\r\n");
    server->Serve("/partial.html", "<html><body><embed src=\"" + server->Url("/partial.flv") + "\" width=\"400\"", {},
                  206, "Partial Content");
    server->Serve("/partial.flv", VideoBytes(3000));
    for (const char* page : {"/no-content.html", "/not-modified.html", "/partial.html"})
        Queue(PageAddress(page));

    Run();

    for (int emptyPage : {4, 5}) {
        EXPECT_EQ(ItemStatus(emptyPage), "ERROR");
        EXPECT_EQ(DownloadQueue[emptyPage].FileName, "Process failed.");
    }
    EXPECT_EQ(ItemStatus(6), "Complete");
    EXPECT_TRUE(FileHolds("partial.flv", VideoBytes(3000)));
    EXPECT_EQ(ItemStatus(0), "ERROR");
    EXPECT_EQ(DownloadQueue[0].FileName, "Waiting (Auto Detect)");
    EXPECT_EQ(ItemStatus(1), "ERROR");
    EXPECT_EQ(DownloadQueue[1].FileName, "Process failed.");
    EXPECT_EQ(ItemStatus(2), "ERROR");
    EXPECT_EQ(DownloadQueue[2].FileName, "gone.flv");
    EXPECT_EQ(ItemStatus(3), "Complete");
    EXPECT_TRUE(FileHolds("good.flv", VideoBytes(4000)));
    // Each failure explains itself in its row's tool tip.
    EXPECT_EQ(StatusTip(0), "The page could not be fetched (the server answered 404). Check the address, or try "
                            "again later.");
    EXPECT_EQ(StatusTip(1), "The page holds no video address. The video may have been removed, or the site has "
                            "changed.");
    EXPECT_EQ(StatusTip(2), "The server answered 404, not the video. Try again later.");
    EXPECT_EQ(StatusTip(3), "");
    // Each item went to its own link: nothing was fetched twice.
    EXPECT_EQ(server->RequestCount("/good.flv"), 2); // one HEAD, one GET
}

// A failure thrown inside one step of the first item's work: that item ends
// "ERROR", never stuck in a progress text, and the next item still arrives.
TEST_F(RunFixture, AFailureInsideAnItemsStepEndsThatItemInErrorAndTheRunGoesOn)
{
    enum class Step { PageFetch, FileInformation, VideoTransfer };
    for (const Step step : {Step::PageFetch, Step::FileInformation, Step::VideoTransfer}) {
        SCOPED_TRACE(static_cast<int>(step));
        TearDown();
        SetUp();
        ServePage("/a.html", "/a.flv");
        server->Serve("/a.flv", VideoBytes(5000, 'a'));
        ServePage("/b.html", "/b.flv");
        server->Serve("/b.flv", VideoBytes(4000, 'b'));
        Queue(PageAddress("/a.html"));
        Queue(PageAddress("/b.html"));
        bool thrown = false;
        auto throwOnce = [&] {
            if (thrown || form->Scheduler.State().sCurrentAddress() != PageAddress("/a.html"))
                return;
            thrown = true;
            throw std::runtime_error("injected");
        };
        onProgress = [&](const EventRecord& r) {
            if (r.fetchingPage == (step == Step::PageFetch) && step != Step::FileInformation)
                throwOnce();
        };
        // Asked by the information request before it sends anything.
        auto stopWaiting = form->Download.StopWaiting;
        form->Download.StopWaiting = [&, stopWaiting] {
            if (step == Step::FileInformation && !form->Download.Transferring() &&
                !form->Scheduler.State().bFetchingPage())
                throwOnce();
            return stopWaiting();
        };
        Run();

        EXPECT_TRUE(thrown);
        EXPECT_EQ(ItemStatus(0), "ERROR");
        EXPECT_FALSE(platform::FileExists(platform::JoinPath(downloadDir, "a.flv")));
        EXPECT_EQ(ItemStatus(1), "Complete");
        EXPECT_TRUE(FileHolds("b.flv", VideoBytes(4000, 'b')));
        EXPECT_FALSE(form->Scheduler.State().bDownloading());
    }
}

// A failure outside the steps' own handlers (here the grid's, as the run finds
// the item's row before its transfer) also ends the item "ERROR", and the run goes on.
TEST_F(RunFixture, AFailureBetweenAnItemsStepsEndsThatItemInErrorAndTheRunGoesOn)
{
    ServePage("/a.html", "/a.flv");
    server->Serve("/a.flv", VideoBytes(5000, 'a'));
    ServePage("/b.html", "/b.flv");
    server->Serve("/b.flv", VideoBytes(4000, 'b'));
    bool thrown = false;
    form.reset();
    FormControls controls = CreateFormControls();
    controls.DownloadGrid = std::make_unique<WatchedGrid>(std::move(controls.DownloadGrid), [&] {
        // Once a's file was asked about, before it is fetched.
        if (!thrown && server->RequestCount("/a.flv") == 1) {
            thrown = true;
            throw std::runtime_error("injected");
        }
    });
    form = std::make_unique<frmMain>(std::move(controls));
    Queue(PageAddress("/a.html"));
    Queue(PageAddress("/b.html"));
    Run();

    EXPECT_TRUE(thrown);
    EXPECT_EQ(ItemStatus(0), "ERROR");
    EXPECT_EQ(StatusTip(0), "Something failed while this item was processed. Try again.");
    EXPECT_EQ(ItemStatus(1), "Complete");
    EXPECT_TRUE(FileHolds("b.flv", VideoBytes(4000, 'b')));
}

TEST_F(RunFixture, TheScratchPageFileIsReplacedButAFolderOfItsNameIsNeverRemoved)
{
    ServePage("/a.html", "/a.flv");
    server->Serve("/a.flv", VideoBytes(2100));
    const std::string scratch = platform::JoinPath(programDir, "Parse.wvi");

    // An unsupported address leaves the old page alone.
    temp.Write("program/Parse.wvi", "old page");
    Queue("http://example.org/unsupported");
    Run();
    EXPECT_EQ(platform::ReadWholeFile(scratch).value_or(""), "old page");

    // A supported one replaces it with the page fetched.
    Queue(PageAddress("/a.html"));
    Run();
    EXPECT_EQ(ItemStatus(1), "Complete");
    EXPECT_NE(platform::ReadWholeFile(scratch).value_or("").find("<embed src="), std::string::npos);

    // A folder where the page belongs: the item fails, the folder stays.
    platform::DeleteRegularFile(scratch);
    platform::CreateFolder(scratch);
    temp.Write("program/Parse.wvi/keep.txt", "keep");
    ServePage("/b.html", "/b.flv");
    Queue(PageAddress("/b.html"));
    Run();
    EXPECT_EQ(ItemStatus(2), "ERROR");
    EXPECT_EQ(platform::ReadWholeFile(platform::JoinPath(scratch, "keep.txt")).value_or(""), "keep");
    EXPECT_EQ(server->RequestCount("/b.html"), 0);
    EXPECT_FALSE(form->Scheduler.State().bFetchingPage());
}

TEST_F(RunFixture, AStartIsRefusedWithAMessageWhenTheQueueOrTheFolderCannotServe)
{
    Run();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Please add video URL's first.");
    EXPECT_EQ(messages[0].title, "Empty List");
    EXPECT_EQ(messages[0].icon, platform::MessageIcon::Exclamation);
    EXPECT_EQ(movieVariables, (Variables{{"_root.startDownload", "1"}}));

    // A download folder below a plain file can never be made.
    messages.clear();
    movieVariables.clear();
    const std::string blocker = temp.Write("blocker", "file");
    sDownloadDir = platform::JoinPath(blocker, "videos");
    ServePage("/a.html", "/a.flv");
    Queue(PageAddress("/a.html"));
    Run();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].text.find("cannot be created or written"), std::string::npos);
    EXPECT_NE(messages[0].text.find(sDownloadDir), std::string::npos);
    EXPECT_EQ(messages[0].title, "Tollivex");
    EXPECT_TRUE(movieVariables.empty());
    EXPECT_EQ(ItemStatus(0), "Waiting");
    EXPECT_EQ(server->RequestCount(), 0);
    EXPECT_EQ(form->Scheduler.cmdStartDownload.Caption, "Start Downloading");
}

TEST_F(RunFixture, ADownloadNeverReplacesTheFileOfAnotherFinishedItem)
{
    // Two pages whose videos carry the same file name, a third the user
    // renamed to that name before the run gave the first its name.
    ServePage("/one.html", "/x/clip.flv");
    ServePage("/two.html", "/y/clip.flv");
    ServePage("/three.html", "/z/other.flv");
    server->Serve("/x/clip.flv", VideoBytes(3000, 'x'), {});
    server->Serve("/y/clip.flv", VideoBytes(4000, 'y'), {});
    server->Serve("/z/other.flv", VideoBytes(5000, 'z'), {});
    Queue(PageAddress("/one.html"));
    Queue(PageAddress("/two.html"));
    Queue(PageAddress("/three.html"));
    DownloadQueue[2].FileName = "clip.flv";
    // A file of that name from an earlier day, in no item of the list, is the user's: it stays.
    const std::string older = "an older clip, longer than the new one";
    std::filesystem::create_directories(downloadDir);
    std::ofstream(platform::JoinPath(downloadDir, "clip.flv")) << older;
    Run();

    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ItemStatus(i), "Complete") << i;
    EXPECT_EQ(DownloadQueue[0].FileName, "clip (2).flv");
    EXPECT_EQ(DownloadQueue[1].FileName, "clip (3).flv");
    EXPECT_EQ(DownloadQueue[2].FileName, "clip (4).flv");
    EXPECT_TRUE(FileHolds("clip.flv", older));
    EXPECT_TRUE(FileHolds("clip (2).flv", VideoBytes(3000, 'x')));
    EXPECT_TRUE(FileHolds("clip (3).flv", VideoBytes(4000, 'y')));
    EXPECT_TRUE(FileHolds("clip (4).flv", VideoBytes(5000, 'z')));

    // Downloading an item again replaces its own file.
    DownloadQueue[1].Status = "Waiting";
    server->Serve("/y/clip.flv", VideoBytes(4500, 'w'), {});
    Run();
    EXPECT_EQ(DownloadQueue[1].FileName, "clip (3).flv");
    EXPECT_TRUE(FileHolds("clip (3).flv", VideoBytes(4500, 'w')));
}

TEST_F(RunFixture, CheckingTheFolderAtTheStartLeavesWhatLiesInItAlone)
{
    // Links under the names a check might use point at a file of the user's.
    const std::string precious = temp.Write("precious.txt", "precious data");
    std::filesystem::create_directories(downloadDir);
    for (const char* name : {".tollivex-write-probe", ".tollivex-write-probe-XXXXXX"})
        std::filesystem::create_symlink(precious, std::filesystem::path(downloadDir) / name);
    const auto before = std::distance(std::filesystem::directory_iterator(downloadDir), {});
    ServePage("/a.html", "/a.flv");
    server->Serve("/a.flv", VideoBytes(3000), {});
    Queue(PageAddress("/a.html"));
    Run();
    EXPECT_EQ(ItemStatus(0), "Complete");
    EXPECT_EQ(*platform::ReadWholeFile(precious), "precious data");
    // The video and nothing else was added.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(downloadDir), {}), before + 1);
}

} // namespace
} // namespace tollivex::test
