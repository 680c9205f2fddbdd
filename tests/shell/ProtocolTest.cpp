// The movie's commands, the variables written back, start-up, shutdown and the
// tray handlers, on a real main window (offscreen) with the program's movie.
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/gui/GridControl.h"
#include "platform/gui/MainWindowHost.h"
#include "platform/gui/QuickMovieHost.h"
#include "platform/gui/TrayIcon.h"
#include "platform/registry/UserStore.h"
#include "queue/DownloadQueue.h"
#include "shell/FormFactory.h"
#include "shell/TrayMenuWindow.h"
#include "shell/frmMain.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace tollivex;

namespace {

struct Form {
    test::TempFolder config;
    test::TempFolder program;
    std::unique_ptr<frmMain> form;
    std::vector<std::pair<std::string, std::string>> written;
    std::vector<platform::MessageRequest> asked;
    platform::MessageAnswer answer = platform::MessageAnswer::No;

    explicit Form(bool withMovie = true)
    {
        platform::registry::SetStoreFolder(config.Path()); // a fresh store for every test
        const std::string assets = std::string(std::getenv("TOLLIVEX_SOURCE_DIR")) + "/assets/";
        if (withMovie)
            program.Write("Main.qml", *platform::ReadWholeFile(assets + "Main.qml"));
        platform::SetProgramFolder(program.Path());
        platform::SetMessageAnswerer([this](const platform::MessageRequest& r) {
            asked.push_back(r);
            return answer;
        });
        DownloadQueue.clear();
        bUrlMonitor = false;
        sDownloadDir.clear();
        form = std::make_unique<frmMain>(CreateFormControls());
        Movie().SetVariableObserver([this](const std::string& n, const std::string& v) { written.emplace_back(n, v); });
    }
    ~Form()
    {
        form.reset();
        platform::SetMessageAnswerer(nullptr);
        platform::registry::SetStoreFolder("");
        SetTrayMenuChooser(nullptr);
        DownloadQueue.clear();
    }
    platform::QuickMovieHost& Movie() { return dynamic_cast<platform::QuickMovieHost&>(form->Flash()); }
    frmMain* operator->() { return form.get(); }
    void Type(const std::string& text) { Movie().Root()->setProperty("video_url", QString::fromStdString(text)); }
};

} // namespace

TEST(Shell, StartUpLoadsTheMovieWritesTheAboutTextAndPutsUpTheIcon)
{
    Form f;
    f->Form_Load();
    ASSERT_FALSE(f->Ended());
    EXPECT_EQ(f->Flash().LoadFailure(), "");
    EXPECT_EQ(f->Flash().GetVariable("_root.aboutTxt"),
              "Version 1.0.0.4\r\nTollivex is an easy to use program to download video files from "
              "google,youtube,iFilm and other 9 video sharing sites to your PC.");
    EXPECT_TRUE(f->SysTray().InTray());
    EXPECT_TRUE(f->frmMenu.Loaded);
    // The settings were read and mirrored: the folder is in the movie.
    EXPECT_FALSE(sDownloadDir.empty());
    EXPECT_EQ(f->Flash().GetVariable("_root.download_dir"), sDownloadDir);
    EXPECT_EQ(f->Flash().GetVariable("_root.autoToDownloadList_CB"), bUrlMonitor ? "1" : "0");
    f->EndMe(); // the watcher is told to exit
    EXPECT_FALSE(bUrlMonitor && f->tmrMonitor.Enabled());
}

TEST(Shell, MissingMovieIsReportedAndEndsTheProgram)
{
    Form f(false);
    f->Form_Load();
    ASSERT_EQ(f.asked.size(), 1u);
    EXPECT_EQ(f.asked[0].icon, platform::MessageIcon::Critical);
    EXPECT_NE(f.asked[0].text.find("could not be loaded"), std::string::npos);
    EXPECT_TRUE(f->Ended());
}

TEST(Shell, EveryCommandHasItsEffectAndOthersNone)
{
    Form f;
    f->Form_Load();
    f->Window().Show();

    // Unknown names and wrong letter case do nothing at all.
    f.written.clear();
    for (const char* name : {"idc_fs_startDownload", "IDC_FS_STARTDOWNLOAD", "IDC_FS_close", "Bogus", ""})
        f->Flash_FSCommand(name, "");
    EXPECT_FALSE(f->tmrDownload.Enabled());
    EXPECT_FALSE(f->Ended());
    EXPECT_TRUE(f.written.empty());
    EXPECT_TRUE(f.asked.empty());

    f->Flash_FSCommand("IDC_FS_Download", "");
    EXPECT_EQ(f->sCurrentTab, "Download");
    EXPECT_TRUE(f->DownloadGrid().IsVisible());
    f->Flash_FSCommand("IDC_FS_Slider", "");
    EXPECT_FALSE(f->DownloadGrid().IsVisible());
    f->Flash_FSCommand("IDC_FS_Download", "");
    f->Flash_FSCommand("IDC_FS_About", "");
    EXPECT_EQ(f->sCurrentTab, "About");
    EXPECT_FALSE(f->DownloadGrid().IsVisible());

    // The add command: blanks add nothing; an address is taken as read.
    f.Type("   ");
    f->Flash_FSCommand("IDC_FS_addDownloadURL", "");
    EXPECT_TRUE(DownloadQueue.empty());
    f.Type(" http://www.youtube.com/watch?v=abc ");
    f->Flash_FSCommand("IDC_FS_addDownloadURL", "");
    ASSERT_EQ(DownloadQueue.size(), 1u);
    EXPECT_EQ(DownloadQueue[0].Video_URL, " http://www.youtube.com/watch?v=abc ");
    f.Type("http://www.youtube.com/watch?v=def");
    f->Flash_FSCommand("IDC_FS_addDownloadURL", "");
    ASSERT_EQ(DownloadQueue.size(), 2u);

    DownloadQueue.clear();
    f->FillDownloadList();

    // Start is deferred to the timer; the toggle then finds the empty queue.
    f->Flash_FSCommand("IDC_FS_startDownload", "");
    EXPECT_TRUE(f->tmrDownload.Enabled());
    EXPECT_TRUE(f.asked.empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !f.asked.empty(); }, 2000));
    ASSERT_EQ(f.asked.size(), 1u);
    EXPECT_EQ(f.asked[0].title, "Empty List");
    EXPECT_FALSE(f->tmrDownload.Enabled());
    // Stop runs the toggle at once.
    f->Flash_FSCommand("IDC_FS_stopDownload", "");
    EXPECT_EQ(f.asked.size(), 2u);

    f->Flash_FSCommand("ID_FS_autoDownloadCheck", "");
    EXPECT_TRUE(bUrlMonitor);
    f->Flash_FSCommand("ID_FS_autoDownloadUncheck", "");
    EXPECT_FALSE(bUrlMonitor);

    f->Flash_FSCommand("IDC_FS_Minimize", "");
    EXPECT_TRUE(f->Window().IsMinimized());
    // No notification area offscreen: hiding to the tray minimises.
    f->Window().Show();
    f->Flash_FSCommand("IDC_FS_Tray", "");
    EXPECT_EQ(f->Window().IsVisible(), !f->SysTray().Available());
    EXPECT_TRUE(f->SysTray().InTray());

    f->Flash_FSCommand("IDC_FS_Close", "");
    EXPECT_TRUE(f->Ended());
}

TEST(Shell, EndMeAsksOnlyWhileARunIsActiveAndNotYetStopping)
{
    {
        Form f;
        f->Form_Load();
        DownloadQueue.push_back({1, "http://www.youtube.com/watch?v=a", "a.flv", "Waiting", "????"});
        f->bDownloading = true;
        f->cmdStartDownload.Caption = "Stop Downloading";
        f.answer = platform::MessageAnswer::No;
        f->EndMe();
        ASSERT_EQ(f.asked.size(), 1u);
        EXPECT_EQ(f.asked[0].text, "Are you sure that you want to cancel downloading?");
        EXPECT_TRUE(f->Ended());
        // Whatever the answer, the run is told to stop.
        EXPECT_TRUE(f->bStopRequested);
    }
    {
        Form f;
        f->Form_Load();
        DownloadQueue.push_back({1, "http://www.youtube.com/watch?v=a", "a.flv", "Waiting", "????"});
        f->bDownloading = true;
        f->bStopRequested = true; // confirmed already, still unwinding
        f->EndMe();
        EXPECT_TRUE(f.asked.empty());
        EXPECT_TRUE(f->Ended());
    }
}

TEST(Shell, TrayMenuAndIcon)
{
    Form f;
    f->Form_Load();
    f->Window().Show();

    std::vector<frmMenuForm> shown;
    TrayMenuChoice next = TrayMenuChoice::None;
    SetTrayMenuChooser([&](const frmMenuForm& m) {
        shown.push_back(m);
        return next;
    });
    f->SysTray_MouseDown(1);
    f->SysTray_MouseDown(3);
    EXPECT_TRUE(shown.empty());

    // The check mark follows the monitor switch each time the menu opens.
    bUrlMonitor = true;
    f->SysTray_MouseDown(2);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].mnuMonitorChecked);
    bUrlMonitor = false;

    // The real menu: captions, separators, check mark.
    f->frmMenu.mnuMonitorChecked = true;
    auto menu = BuildTrayMenu(f->frmMenu);
    QStringList captions;
    for (QAction* a : menu->actions())
        captions << (a->isSeparator() ? QString("-") : a->text());
    EXPECT_EQ(captions, (QStringList{"Tollivex", "-", "Start Downloading", "-", "Monitor Video URL's in Clipboard",
                                     "-", "Exit  Tollivex"}));
    EXPECT_TRUE(menu->actions()[4]->isChecked());

    // Monitor twice: back where it was, the movie told twice.
    f->frmMenu.mnuMonitorChecked = false;
    f.written.clear();
    next = TrayMenuChoice::Monitor;
    f->SysTray_MouseDown(2);
    EXPECT_TRUE(bUrlMonitor);
    f->SysTray_MouseDown(2);
    EXPECT_FALSE(bUrlMonitor);
    int mirrored = 0;
    for (const auto& w : f.written)
        mirrored += w.first == "_root.autoToDownloadList_CB";
    EXPECT_EQ(mirrored, 2);

    next = TrayMenuChoice::Download;
    f->SysTray_MouseDown(2);
    EXPECT_TRUE(f->tmrDownload.Enabled());
    f->tmrDownload.SetEnabled(false);

    // Double-click shows a hidden window, leaves a visible one alone.
    f->Window().Hide();
    f->SysTray_MouseDblClick(2);
    EXPECT_FALSE(f->Window().IsVisible());
    f->SysTray_MouseDblClick(1);
    EXPECT_TRUE(f->Window().IsVisible());

    // Exit is deferred to tmrend: the program ends about 200 ms later.
    next = TrayMenuChoice::Exit;
    f->SysTray_MouseDown(2);
    EXPECT_FALSE(f->Ended());
    EXPECT_TRUE(f->tmrend.Enabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return f->Ended(); }, 2000));
    EXPECT_TRUE(f->Ended());
}
