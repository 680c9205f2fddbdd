// The movie's commands, the variables written back, start-up, shutdown and the
// tray handlers, on a real main window (offscreen) with the program's movie.
#include "platform/FileSystem.h"
#include "platform/gui/GridControl.h"
#include "platform/gui/LocalSocketMailbox.h"
#include "platform/gui/MainWindowHost.h"
#include "platform/gui/QtControls.h"
#include "platform/gui/QuickMovieHost.h"
#include "platform/gui/TableGrid.h"
#include "platform/gui/TrayIcon.h"
#include "platform/registry/UserStore.h"
#include "platform/seams/TestSeams.h"
#include "platform/window/Desktop.h"
#include "platform/window/MailboxChannel.h"
#include "platform/window/MessageBox.h"
#include "platform/window/seams/WindowTestSeams.h"
#include "queue/DownloadQueue.h"
#include "shell/FormFactory.h"
#include "shell/TrayMenuWindow.h"
#include "shell/frmMain.h"
#include "support/HttpTestServer.h"
#include "support/SeenInput.h"
#include "support/TempFolder.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLocalSocket>
#include <QMenu>
#include <QMouseEvent>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QVariant>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using namespace tollivex;

namespace {

// The real window host with its requests counted: the window system's move
// by the mouse leaves no trace offscreen that could be read back.
class CountingWindowHost final : public platform::MainWindowHost {
public:
    explicit CountingWindowHost(std::unique_ptr<platform::MainWindowHost> real) : real_(std::move(real)) {}
    int systemMoves = 0;
    platform::MainWindowHost& Real() { return *real_; }

    void SetCaption(const std::string& caption) override { real_->SetCaption(caption); }
    void SetSize(int width, int height) override { real_->SetSize(width, height); }
    void Show() override { real_->Show(); }
    void Hide() override { real_->Hide(); }
    void Minimize() override { real_->Minimize(); }
    bool IsVisible() const override { return real_->IsVisible(); }
    bool IsMinimized() const override { return real_->IsMinimized(); }
    bool IsActive() const override { return real_->IsActive(); }
    void StartSystemMove() override
    {
        ++systemMoves;
        real_->StartSystemMove();
    }
    void BringToForeground() override { real_->BringToForeground(); }
    void SetCloseRequestHandler(std::function<void()> handler) override
    {
        real_->SetCloseRequestHandler(std::move(handler));
    }
    void SetWheelHandler(WheelHandler handler) override { real_->SetWheelHandler(std::move(handler)); }
    void SetDropHandler(DropHandler handler) override { real_->SetDropHandler(std::move(handler)); }
    void EndProgram() override { real_->EndProgram(); }

private:
    std::unique_ptr<platform::MainWindowHost> real_;
};

// What reaches the movie's own window behind the filters installed after it.
using SeenByMovie = test::SeenInput;

void PressKey(QWidget* target, int key)
{
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &e);
}

void RightClick(QWidget* target)
{
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::RightButton, Qt::RightButton,
                  Qt::NoModifier);
    QApplication::sendEvent(target, &e);
}

void Wheel(QWidget* target, int delta)
{
    QWheelEvent e(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &e);
}

std::string Watcher(const std::string& folder) { return platform::JoinPath(folder, "clip"); }

struct Form {
    test::TempFolder config;
    test::TempFolder program;
    std::unique_ptr<frmMain> form;
    CountingWindowHost* window = nullptr;
    std::vector<std::pair<std::string, std::string>> written;
    std::vector<platform::MessageRequest> asked;
    platform::MessageAnswer answer = platform::MessageAnswer::No;
    bool withWatcher = false;

    /// watcherBeside puts the real clipboard watcher beside the movie.
    explicit Form(bool withMovie = true, bool watcherBeside = false) : withWatcher(watcherBeside)
    {
        platform::registry::SetStoreFolder(config.Path()); // a fresh store for every test
        const std::string assets = std::string(std::getenv("TOLLIVEX_SOURCE_DIR")) + "/assets/";
        if (withMovie)
            program.Write("Main.qml", *platform::ReadWholeFile(assets + "Main.qml"));
        if (withWatcher)
            std::filesystem::create_symlink(Watcher(QCoreApplication::applicationDirPath().toStdString()),
                                            Watcher(program.Path()));
        platform::SetProgramFolder(program.Path());
        platform::SetMessageAnswerer([this](const platform::MessageRequest& r) {
            asked.push_back(r);
            return answer;
        });
        DownloadQueue.clear();
        bUrlMonitor = false;
        sDownloadDir.clear();
        FormControls controls = CreateFormControls();
        auto counting = std::make_unique<CountingWindowHost>(std::move(controls.Window));
        window = counting.get();
        controls.Window = std::move(counting);
        form = std::make_unique<frmMain>(std::move(controls));
        Movie().SetVariableObserver([this](const std::string& n, const std::string& v) { written.emplace_back(n, v); });
    }
    ~Form()
    {
        // A watcher left running by a failed check would outlive the test.
        if (withWatcher && Mailbox().ConnectionCount() > 0)
            platform::LaunchProgram(Watcher(program.Path()), {"Exit"});
        form->StopHook(); // the hooks are program-wide: the next window installs its own
        form.reset();
        platform::SetShellOpenObserver(nullptr);
        platform::SetMessageAnswerer(nullptr);
        platform::registry::SetStoreFolder("");
        SetTrayMenuChooser(nullptr);
        DownloadQueue.clear();
    }
    platform::QuickMovieHost& Movie() { return dynamic_cast<platform::QuickMovieHost&>(form->Flash()); }
    platform::LocalSocketMailbox& Mailbox() { return dynamic_cast<platform::LocalSocketMailbox&>(form->txtMonitor()); }
    QTableView* GridView() { return dynamic_cast<platform::TableGrid&>(form->DownloadGrid()).View(); }
    QWidget* WindowWidget() { return platform::HostWidget(window->Real()); }
    frmMain* operator->() { return form.get(); }
    void Type(const std::string& text) { Movie().Root()->setProperty("video_url", QString::fromStdString(text)); }
    /// The movie itself sends the command, as a click in it would.
    void Send(const std::string& command)
    {
        QMetaObject::invokeMethod(Movie().Root(), "send", Q_ARG(QVariant, QVariant(QString::fromStdString(command))));
    }
    /// The page addresses of the queue, in order.
    static std::vector<std::string> Queue()
    {
        std::vector<std::string> addresses;
        for (const auto& item : DownloadQueue)
            addresses.push_back(item.Video_URL);
        return addresses;
    }
    platform::GridRow Row(int index)
    {
        auto row = form->DownloadGrid().FirstRow();
        for (int i = 0; i < index && row; ++i)
            row = form->DownloadGrid().NextRow(*row);
        return row ? *row : platform::GridRow{};
    }
};

void Queue(const std::vector<std::pair<std::string, std::string>>& addressAndStatus)
{
    DownloadQueue.clear();
    for (const auto& [address, status] : addressAndStatus)
        DownloadQueue.push_back(
            {static_cast<std::int16_t>(DownloadQueue.size() + 1), address, "v.flv", status, "????"});
}

} // namespace

TEST(Shell, StartUpLoadsTheMovieWritesTheAboutTextAndPutsUpTheIcon)
{
    Form f(true, true);
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

    // The monitor is on by default: the real watcher beside the program
    // connects to this window's mailbox, and EndMe tells it to exit.
    ASSERT_TRUE(bUrlMonitor);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.Mailbox().ConnectionCount() == 1; }, 10000));
    f->EndMe();
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.Mailbox().ConnectionCount() == 0; }, 10000));
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
    EXPECT_FALSE(f->Scheduler.tmrDownload.Enabled());
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
    EXPECT_TRUE(f->Scheduler.tmrDownload.Enabled());
    EXPECT_TRUE(f.asked.empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !f.asked.empty(); }, 2000));
    ASSERT_EQ(f.asked.size(), 1u);
    EXPECT_EQ(f.asked[0].title, "Empty List");
    EXPECT_FALSE(f->Scheduler.tmrDownload.Enabled());
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
        f->Scheduler.State().BeginRun();
        f->Scheduler.cmdStartDownload.Caption = "Stop Downloading";
        f.answer = platform::MessageAnswer::No;
        f->EndMe();
        ASSERT_EQ(f.asked.size(), 1u);
        EXPECT_EQ(f.asked[0].text, "Are you sure that you want to cancel downloading?");
        EXPECT_TRUE(f->Ended());
        // Whatever the answer, the run is told to stop.
        EXPECT_TRUE(f->Scheduler.State().bStopRequested());
    }
    {
        Form f;
        f->Form_Load();
        DownloadQueue.push_back({1, "http://www.youtube.com/watch?v=a", "a.flv", "Waiting", "????"});
        f->Scheduler.State().BeginRun();
        f->Scheduler.State().RequestStop(); // confirmed already, still unwinding
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
    EXPECT_EQ(captions, (QStringList{"Tollivex", "-", "Start Downloading", "-", "Monitor Video URL's in Clipboard", "-",
                                     "Exit  Tollivex"}));
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
    EXPECT_TRUE(f->Scheduler.tmrDownload.Enabled());
    f->Scheduler.tmrDownload.SetEnabled(false);

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

TEST(Shell, QueueEditingShellRequestsAndDragCommands)
{
    Form f;
    f->Form_Load();
    f->Window().Show();
    const std::string a = "http://www.youtube.com/watch?v=a", b = "http://www.youtube.com/watch?v=b",
                      c = "http://www.youtube.com/watch?v=c", d = "http://www.youtube.com/watch?v=d",
                      e = "http://www.youtube.com/watch?v=e";
    Queue({{a, "Complete"}, {b, "Waiting"}, {c, "Complete"}, {d, "ERROR"}, {e, "Cancelled"}});
    f->FillDownloadList();
    auto ids = [] {
        std::vector<int> v;
        for (const auto& item : DownloadQueue)
            v.push_back(item.ID);
        return v;
    };

    // Up and down move the item of the first selected cell one place.
    f->DownloadGrid().SetCellSelected({f.Row(2), 3}, true);
    f->Flash_FSCommand("IDC_FS_moveUp", "");
    EXPECT_EQ(Form::Queue(), (std::vector<std::string>{a, c, b, d, e}));
    EXPECT_EQ(ids(), (std::vector<int>{1, 2, 3, 4, 5}));
    f->DownloadGrid().SetRowSelected(f.Row(2), true);
    f->Flash_FSCommand("IDC_FS_moveDown", "");
    EXPECT_EQ(Form::Queue(), (std::vector<std::string>{a, c, d, b, e}));
    f->DownloadGrid().SetRowSelected(f.Row(0), true);
    f->Flash_FSCommand("IDC_FS_moveUp", ""); // the first item stays first
    EXPECT_EQ(Form::Queue(), (std::vector<std::string>{a, c, d, b, e}));
    EXPECT_FALSE(f->DownloadGrid().IsRowSelected(f.Row(0))); // rebuilt, nothing selected again

    // Clear takes only the "Complete" items; the rest move up with new IDs.
    f->Flash_FSCommand("ID_FS_clearComplete", "");
    EXPECT_EQ(Form::Queue(), (std::vector<std::string>{d, b, e}));
    EXPECT_EQ(ids(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(f->DownloadGrid().CellText({f.Row(0), 0}), "1");
    EXPECT_EQ(f->DownloadGrid().CellText({f.Row(0), 3}), "ERROR");

    // Remove takes the selected rows; select-all marks every row.
    f->DownloadGrid().SetCellSelected({f.Row(1), 1}, true);
    f->Flash_FSCommand("IDC_FS_removeSelectedD", "");
    EXPECT_EQ(Form::Queue(), (std::vector<std::string>{d, e}));
    f->Flash_FSCommand("IDC_FS_selectAllD", "");
    EXPECT_TRUE(f->DownloadGrid().IsRowSelected(f.Row(0)));
    EXPECT_TRUE(f->DownloadGrid().IsRowSelected(f.Row(1)));
    EXPECT_EQ(Form::Queue(), (std::vector<std::string>{d, e})); // selecting removes nothing
    f->Flash_FSCommand("IDC_FS_removeSelectedD", "");
    EXPECT_TRUE(DownloadQueue.empty());
    EXPECT_FALSE(f->DownloadGrid().FirstRow().has_value());
    EXPECT_FALSE(f->Grid.bGridFormatted);

    // Help and the web site go to the shell; the command returns and the
    // window goes on taking the movie's commands.
    std::vector<std::string> opened;
    bool openerInstalled = true;
    platform::SetShellOpenObserver([&](const std::string& target) {
        opened.push_back(target);
        return openerInstalled;
    });
    const std::string help = f.program.Write("Help.html", "<html></html>");
    f.Send("IDC_FS_Help");
    f.Send("ID_FS_webSite");
    EXPECT_EQ(opened, (std::vector<std::string>{help, "https://tollivex.example.org/"}));
    EXPECT_TRUE(f.asked.empty());
    // Nothing to open them with, or no help file: the user is told, once each.
    openerInstalled = false;
    f.Send("IDC_FS_Help");
    f.Send("ID_FS_webSite");
    std::filesystem::remove(help);
    f.Send("IDC_FS_Help");
    ASSERT_EQ(f.asked.size(), 3u);
    EXPECT_NE(f.asked[0].text.find("No program to show it"), std::string::npos) << f.asked[0].text;
    EXPECT_NE(f.asked[1].text.find("https://tollivex.example.org/"), std::string::npos) << f.asked[1].text;
    EXPECT_NE(f.asked[2].text.find("The file is missing"), std::string::npos) << f.asked[2].text;
    EXPECT_EQ(f.asked[2].title, "Tollivex");
    EXPECT_EQ(opened.size(), 4u);
    f.asked.clear();
    f.Send("IDC_FS_Download");
    EXPECT_TRUE(f->DownloadGrid().IsVisible());
    EXPECT_FALSE(f->Ended());

    // Drag hands the move to the window system, and only that.
    EXPECT_EQ(f.window->systemMoves, 0);
    f->Flash_FSCommand("IDC_FS_Drag", "");
    EXPECT_EQ(f.window->systemMoves, 1);
    EXPECT_TRUE(f->Window().IsVisible());
    EXPECT_FALSE(f->Window().IsMinimized());
    EXPECT_EQ(opened.size(), 4u);
    f->EndMe();
}

TEST(Shell, HooksSuppressTheMenuAndScrollTheGridUntilRemoved)
{
    {
        Form f;
        QWidget* player = f.Movie().Widget();
        SeenByMovie seen;
        player->installEventFilter(&seen); // before start-up, so the hook sees events first
        f->Form_Load();
        f->Window().Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(f.WindowWidget()));
        std::vector<std::pair<std::string, std::string>> items;
        for (int i = 0; i < 40; ++i)
            items.emplace_back("http://www.youtube.com/watch?v=" + std::to_string(i), "Waiting");
        Queue(items);
        f->FillDownloadList();
        f->Flash_FSCommand("IDC_FS_Download", "");
        QApplication::processEvents();
        QScrollBar* bar = f.GridView()->verticalScrollBar();
        ASSERT_GT(bar->maximum(), 3);

        // Start-up installed both: no context menu over the movie (away
        // from the address box, which keeps its editing menu)...
        if (QQuickItem* focused = f.Movie().Widget()->quickWindow()->activeFocusItem())
            focused->setFocus(false);
        RightClick(player);
        PressKey(player, Qt::Key_Menu);
        PressKey(player, Qt::Key_A);
        EXPECT_EQ(seen.rightPresses, 0);
        EXPECT_EQ(seen.keys, std::vector<int>{Qt::Key_A});
        // ...and the wheel over the movie scrolls the active grid one row a notch.
        f->DownloadGrid().Activate();
        ASSERT_TRUE(f->DownloadGrid().IsActiveControl());
        Wheel(player, -120);
        EXPECT_EQ(bar->value(), 1);
        Wheel(player, -240);
        EXPECT_EQ(bar->value(), 2);
        Wheel(player, 120);
        EXPECT_EQ(bar->value(), 1);
        player->setFocus();
        Wheel(player, -120); // the movie is the active control
        EXPECT_EQ(bar->value(), 1);
        // Over the list itself: one row a notch, whichever control has the keyboard.
        Wheel(f.GridView()->viewport(), -120);
        EXPECT_EQ(bar->value(), 2);
        f->DownloadGrid().Activate();
        Wheel(f.GridView()->viewport(), 240);
        EXPECT_EQ(bar->value(), 1);
        player->setFocus();

        // Removed: the wheel leaves the grid alone, the menu key and the
        // right button reach the movie; removing twice changes nothing more.
        f->DownloadGrid().Activate();
        f->StopHook();
        Wheel(player, -120);
        EXPECT_EQ(bar->value(), 1);
        RightClick(player);
        PressKey(player, Qt::Key_Menu);
        EXPECT_EQ(seen.rightPresses, 1);
        EXPECT_EQ(seen.keys, (std::vector<int>{Qt::Key_A, Qt::Key_Menu}));
        f->StopHook();
        Wheel(player, -120);
        EXPECT_EQ(bar->value(), 1);

        // Installed again, then EndMe removes them.
        f->StartHook();
        Wheel(player, -120);
        EXPECT_EQ(bar->value(), 2);
        RightClick(player);
        EXPECT_EQ(seen.rightPresses, 1);
        f->EndMe();
        RightClick(player);
        EXPECT_EQ(seen.rightPresses, 2);
    }
    {
        // Removing before anything was installed harms nothing: start-up
        // then installs both as usual.
        Form f;
        QWidget* player = f.Movie().Widget();
        SeenByMovie seen;
        player->installEventFilter(&seen);
        f->StopHook();
        RightClick(player);
        EXPECT_EQ(seen.rightPresses, 1);
        f->Form_Load();
        RightClick(player);
        EXPECT_EQ(seen.rightPresses, 1);
        f->EndMe();
    }
}

TEST(Shell, AFailureInsideAHandlerLeavesTheWindowRunning)
{
    Form f;
    f->Form_Load();
    f->Window().Show();
    const std::string youtube = "http://www.youtube.com/watch?v=abc",
                      dailymotion = "http://www.dailymotion.com/video/x1";

    // A command from the movie whose shell request throws: the command
    // ends there, the next command is taken as usual.
    platform::SetShellOpenObserver([](const std::string&) -> bool { throw std::runtime_error("no shell"); });
    f.program.Write("Help.html", "<html></html>");
    f.Send("IDC_FS_Help");
    EXPECT_FALSE(f->Ended());
    f.Send("IDC_FS_Download");
    EXPECT_EQ(f->sCurrentTab, "Download");
    platform::SetShellOpenObserver(nullptr);

    // The movie refuses the caught address: a delivery by the watcher and a
    // polling pass each skip that step and do the rest.
    f.Movie().SetVariableObserver([](const std::string& name, const std::string&) {
        if (name == "_root.video_url")
            throw std::runtime_error("movie gone");
    });
    f->Scheduler.State().BeginRun(); // the queued items wait for the walk: no run is started
    QLocalSocket watcher;
    watcher.connectToServer(platform::MailboxServerName(QString::fromStdString(f->txtMonitor().Identity())));
    ASSERT_TRUE(watcher.waitForConnected(2000));
    watcher.write(platform::FrameDelivery(QString::fromStdString(youtube)));
    watcher.flush();
    ASSERT_TRUE(QTest::qWaitFor([] { return DownloadQueue.size() == 1; }, 3000));
    EXPECT_EQ(DownloadQueue[0].Video_URL, youtube);
    EXPECT_TRUE(QTest::qWaitFor([&] { return f->txtMonitor().Text().empty(); }, 1000));

    QGuiApplication::clipboard()->setText(QString::fromStdString(dailymotion));
    f->Clipboard.sLastClipboard.clear();
    f->Clipboard.tmrMonitor.SetEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return f->Clipboard.sLastClipboard == dailymotion; }, 5000));
    f->Clipboard.tmrMonitor.SetEnabled(false);
    EXPECT_EQ(Form::Queue(), (std::vector<std::string>{youtube, dailymotion}));
    f->Scheduler.State().EndRun();

    f.Movie().SetVariableObserver(nullptr);

    // The component's progress event during a page fetch, whose grid write
    // throws: the status is kept, the list is still rebuilt, and the
    // transfer goes on to its end.
    test::HttpTestServer server;
    server.Serve("/watch", std::string(5 * 2048, 'p'));
    test::TempFolder scratch;
    f->Scheduler.State().WorkOn(0, youtube);
    f->FillDownloadList();
    f->Scheduler.LocateCurrentRow();
    ASSERT_TRUE(f->Scheduler.State().oCurrentRow().has_value());
    int refusedWrites = 0;
    const auto refuse = QObject::connect(f.GridView()->model(), &QAbstractItemModel::dataChanged,
                                         [&](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                                             if (!roles.contains(Qt::DisplayRole))
                                                 return;
                                             ++refusedWrites;
                                             throw std::runtime_error("grid gone");
                                         });
    const std::uint64_t binding = f->DownloadGrid().FirstRow()->binding;
    f->Scheduler.State().SetFetchingPage(true);
    f->Download.SetUrl(server.Url("/watch"));
    f->Download.SetLocalFile(platform::JoinPath(scratch.Path(), "Parse.wvi"));
    EXPECT_TRUE(f->Download.StartDownload());
    f->Scheduler.State().SetFetchingPage(false);
    QObject::disconnect(refuse);
    EXPECT_GE(refusedWrites, 1);
    EXPECT_EQ(DownloadQueue[0].Status, "Start Downloading...");
    EXPECT_NE(f->DownloadGrid().FirstRow()->binding, binding);
    EXPECT_EQ(f->Scheduler.State().sDownloadResult(), TransferResult::Complete);
    EXPECT_TRUE(f.asked.empty());

    // The window carries on: commands, timers and the movie still work.
    EXPECT_FALSE(f->Ended());
    f.Send("IDC_FS_About");
    EXPECT_EQ(f->sCurrentTab, "About");
    f.Type("http://www.youtube.com/watch?v=def");
    f.Send("IDC_FS_addDownloadURL");
    EXPECT_EQ(DownloadQueue.size(), 3u);
    f->EndMe();
}
