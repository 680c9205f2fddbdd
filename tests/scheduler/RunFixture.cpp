#include "RunFixture.h"

#include "platform/DiskFile.h"
#include "platform/FileSystem.h"
#include "platform/gui/MovieHost.h"
#include "platform/internet/Internet.h"
#include "platform/seams/TestSeams.h"
#include "platform/window/seams/WindowTestSeams.h"
#include "queue/DownloadListTable.h"
#include "queue/DownloadQueue.h"
#include "scheduler/VideoFile.h"
#include "shell/FormFactory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <chrono>
#include <thread>

namespace tollivex::test {

namespace {

constexpr const char* kPageHost = "www.angryalien.com";

// Passes every call on to the real movie and keeps the variables written, in order.
class RecordingMovie : public platform::MovieHost {
public:
    RecordingMovie(std::unique_ptr<platform::MovieHost> real, std::vector<std::pair<std::string, std::string>>& log)
        : real_(std::move(real)), log_(log)
    {
    }
    void LoadMovie(int layer, const std::string& path) override { real_->LoadMovie(layer, path); }
    std::string LoadFailure() const override { return real_->LoadFailure(); }
    bool HasPlayerWindow() const override { return real_->HasPlayerWindow(); }
    void SuppressContextMenu(bool on) override { real_->SuppressContextMenu(on); }
    void SetVariable(const std::string& name, const std::string& value) override
    {
        log_.emplace_back(name, value);
        real_->SetVariable(name, value);
    }
    std::string GetVariable(const std::string& name) const override { return real_->GetVariable(name); }
    void SetCommandHandler(CommandHandler handler) override { real_->SetCommandHandler(std::move(handler)); }
    void SetGeometry(int l, int t, int w, int h) override { real_->SetGeometry(l, t, w, h); }
    void BringToFront() override { real_->BringToFront(); }

private:
    std::unique_ptr<platform::MovieHost> real_;
    std::vector<std::pair<std::string, std::string>>& log_;
};

} // namespace

std::string VideoBytes(std::size_t size, char seed)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(seed + static_cast<char>(i % 23));
    return bytes;
}

void RunFixture::SetUp()
{
    DownloadQueue.clear();
    downloadDir = temp.File("videos");
    programDir = temp.File("program");
    platform::CreateFolder(programDir);
    platform::SetProgramFolder(programDir);
    sDownloadDir = downloadDir;

    server = std::make_unique<HttpTestServer>();
    platform::SetHostMapping(kPageHost, server->Port());
    platform::SetTimeouts(5, 5);

    platform::SetMessageAnswerer([this](const platform::MessageRequest& request) {
        messages.push_back(request);
        return request.buttons == platform::MessageButtons::YesNo ? yesNoAnswer : platform::MessageAnswer::Ok;
    });

    FormControls controls = CreateFormControls();
    controls.Flash = std::make_unique<RecordingMovie>(std::move(controls.Flash), movieVariables);
    form = std::make_unique<frmMain>(std::move(controls));

    // Observe each event after the window's own handler has dealt with it.
    auto record = [this](const char* event, int progress) {
        EventRecord r;
        r.event = event;
        r.fetchingPage = form->Scheduler.State().bFetchingPage();
        r.progress = progress;
        r.index = form->Scheduler.State().iCurrentIndex();
        if (r.index >= 0 && static_cast<size_t>(r.index) < DownloadQueue.size())
            r.status = DownloadQueue[static_cast<size_t>(r.index)].Status;
        r.cell = form->Scheduler.State().oCurrentRow() ? form->DownloadGrid().CellText(platform::GridCell{
                                                             *form->Scheduler.State().oCurrentRow(), colStatus})
                                                       : std::string("<none>");
        events.push_back(r);
        return r;
    };
    auto progress = form->Download.DownloadProgress;
    form->Download.DownloadProgress = [this, progress, record](std::int32_t& p) {
        progress(p);
        const EventRecord r = record("progress", p);
        if (onProgress)
            onProgress(r);
    };
    auto complete = form->Download.DownloadComplete;
    form->Download.DownloadComplete = [complete, record] {
        complete();
        record("complete", 0);
    };
    auto error = form->Download.DownloadError;
    form->Download.DownloadError = [error, record](std::string& e) {
        error(e);
        record("error", 0);
    };
}

void RunFixture::TearDown()
{
    form.reset();
    server.reset();
    platform::ClearHostMappings();
    platform::ResetTimeouts();
    platform::SetMessageAnswerer({});
    platform::SetProgramFolder("");
    DownloadQueue.clear();
}

std::string RunFixture::PageAddress(const std::string& path) const { return std::string("http://") + kPageHost + path; }

void RunFixture::ServePage(const std::string& path, const std::string& videoPath)
{
    server->Serve(
        path, "<html><body><embed src=\"" + server->Url(videoPath) + "\" width=\"400\" height=\"300\"></body></html>",
        {{"Content-Type", "text/html"}});
}

void RunFixture::ServeSlowly(const std::string& path, const std::string& body, std::size_t chunk, int delayMs,
                             bool announceSize)
{
    server->Route(path, [=](const HttpTestRequest& request, HttpTestConnection& connection) {
        HttpHeaders headers{{"Content-Type", "video/x-flv"}};
        if (announceSize)
            headers.emplace_back("Content-Length", std::to_string(body.size()));
        else
            headers.emplace_back("Connection", "close");
        connection.Send(HttpTestServer::ResponseHead(200, "OK", headers));
        if (request.method != "HEAD")
            connection.SendSlowly(body, chunk, delayMs);
        if (!announceSize || request.method == "HEAD")
            connection.Close();
    });
}

void RunFixture::Queue(const std::string& address) { form->AddVideoUrl(address); }

void RunFixture::ServeThree()
{
    for (const char* name : {"a", "b", "c"}) {
        const std::string page = std::string("/") + name + ".html";
        const std::string video = std::string("/") + name + ".flv";
        ServePage(page, video);
        ServeSlowly(video, VideoBytes(20000, name[0]), 2048, 10);
        Queue(PageAddress(page));
    }
}

void RunFixture::Run() { form->Scheduler.cmdStartDownload_Click(); }

::testing::AssertionResult RunFixture::FileHolds(const std::string& name, const std::string& bytes) const
{
    const auto content = platform::ReadWholeFile(platform::JoinPath(downloadDir, name));
    if (!content)
        return ::testing::AssertionFailure() << name << " is missing";
    if (*content != bytes)
        return ::testing::AssertionFailure()
               << name << " holds " << content->size() << " bytes, not the " << bytes.size() << " expected ones";
    return ::testing::AssertionSuccess();
}

void RunFixture::WriteCopy(const std::string& name, const std::string& bytes, const std::string& pageAddress) const
{
    platform::CreateFolder(downloadDir);
    auto file = platform::DiskFile::CreateNew(platform::JoinPath(downloadDir, name));
    ASSERT_TRUE(file && file->Append(bytes.data(), bytes.size())) << name;
    if (!pageAddress.empty()) {
        ASSERT_TRUE(file->SetAttribute(kPageAddressAttribute, pageAddress));
    }
}

void RunFixture::WaitUntil(const std::function<bool()>& done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QTest::qWait(10);
}

std::string RunFixture::ItemStatus(int index) const
{
    return static_cast<size_t>(index) < DownloadQueue.size() ? DownloadQueue[static_cast<size_t>(index)].Status
                                                             : std::string("<no item>");
}

std::string RunFixture::StatusTip(int index) const
{
    platform::GridControl& grid = form->DownloadGrid();
    for (auto row = grid.FirstRow(); row; row = grid.NextRow(*row)) {
        if (grid.CellText(platform::GridCell{*row, colID}) == std::to_string(index + 1))
            return grid.CellTip(platform::GridCell{*row, colStatus});
    }
    return "<no row>";
}

std::vector<std::string> RunFixture::StatusesOf(int index, bool fetchingPage) const
{
    std::vector<std::string> statuses;
    for (const EventRecord& r : events) {
        if (r.index == index && r.fetchingPage == fetchingPage && r.event == "progress")
            statuses.push_back(r.status);
    }
    return statuses;
}

} // namespace tollivex::test
