#pragma once
// A real main window with the real Download component, a loopback web server
// standing in for the video sites, a temporary download folder and scratch
// folder, and message boxes answered by the test. Progress and status texts
// are recorded at every event of the component, after the window's own
// handler has run.

#include "platform/window/MessageBox.h"
#include "shell/frmMain.h"
#include "support/HttpTestServer.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tollivex::test {

/// What one event of the component left behind.
struct EventRecord {
    std::string event; // "progress", "complete" or "error"
    bool fetchingPage = false;
    int progress = 0;
    int index = -1;     // iCurrentIndex at the event
    std::string status; // the queue's Status of that item after the handler
    std::string cell;   // the grid's status cell of oCurrentRow, "<none>" without a row
};

class RunFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// A page address on a mapped site host ("www.angryalien.com" + path).
    std::string PageAddress(const std::string& path) const;
    /// Serves an AngryAlien page whose embedded player names `videoPath` on the server.
    void ServePage(const std::string& path, const std::string& videoPath);
    /// Serves a video body slowly (chunk bytes every delay ms), announcing its size.
    void ServeSlowly(const std::string& path, const std::string& body, std::size_t chunk, int delayMs,
                     bool announceSize = true);
    /// Queues a page address as the user would.
    void Queue(const std::string& address);
    /// Serves and queues the pages /a.html, /b.html, /c.html, each naming a
    /// 20,000-byte video sent slowly (2 KiB every 10 ms), so a run can be
    /// acted on while it works on an item.
    void ServeThree();

    /// Starts a run through the toggle, as the movie's stop command does.
    void Run();

    /// True when the download folder holds exactly these bytes under the name
    /// (a mismatch reports sizes, not whole videos).
    ::testing::AssertionResult FileHolds(const std::string& name, const std::string& bytes) const;
    /// Writes a file into the download folder; with a page address, as the
    /// copy the program made for that page's item.
    void WriteCopy(const std::string& name, const std::string& bytes, const std::string& pageAddress = "") const;
    /// Lets window events run for up to `ms` or until `done` holds.
    static void WaitUntil(const std::function<bool()>& done, int ms);
    std::string ItemStatus(int index) const;
    /// The tool tip of the item's status cell in the grid ("<no row>" without one).
    std::string StatusTip(int index) const;
    /// Statuses the item had at each event while the run worked on it.
    std::vector<std::string> StatusesOf(int index, bool fetchingPage) const;

    TempFolder temp;
    std::string downloadDir;
    std::string programDir;
    std::unique_ptr<HttpTestServer> server;
    std::unique_ptr<frmMain> form;

    std::vector<EventRecord> events;
    std::vector<platform::MessageRequest> messages;
    std::vector<std::pair<std::string, std::string>> movieVariables;
    /// Answer to a Yes/No box.
    platform::MessageAnswer yesNoAnswer = platform::MessageAnswer::Yes;
    /// Runs after the window's progress handler, inside the transfer.
    std::function<void(const EventRecord&)> onProgress;
};

/// A body of `size` bytes that differs along its length.
std::string VideoBytes(std::size_t size, char seed = 'a');

} // namespace tollivex::test
