#include "shell/frmMain.h"

#include "grid/StatusCellDrawFilter.h"
#include "platform/FileSystem.h"
#include "platform/gui/DesktopNotifier.h"
#include "platform/gui/MainWindowHost.h"
#include "platform/gui/MovieHost.h"
#include "platform/gui/TrayIcon.h"
#include "platform/window/Desktop.h"
#include "platform/window/Mailbox.h"
#include "shell/Guarded.h"

namespace tollivex {

FormControls::FormControls() = default;
FormControls::FormControls(FormControls&&) noexcept = default;
FormControls& FormControls::operator=(FormControls&&) noexcept = default;
FormControls::~FormControls() = default;

frmMain::frmMain(FormControls controls) : controls_(std::move(controls))
{
    // The component's events run inside the transfer; their failures stay there.
    Download.DownloadComplete = [this] { Guarded([&] { Download_DownloadComplete(); }); };
    Download.DownloadProgress = [this](std::int32_t& p) { Guarded([&] { Download_DownloadProgress(p); }); };
    Download.DownloadError = [this](std::string& e) { Guarded([&] { Download_DownloadError(e); }); };
    // DownloadCancelled has no handler: a stop is recognised through bStopRequested.
    // A confirmed stop or a close ends every wait of the component at once.
    Download.StopWaiting = [this] { return bStopRequested || Ended(); };

    tmrDownload.SetOnTick([this] { Guarded([&] { tmrDownload_Timer(); }); });
    tmrend.SetOnTick([this] { Guarded([&] { tmrend_Timer(); }); });
    tmrMonitor.SetOnTick([this] { Guarded([&] { tmrMonitor_Timer(); }); });

    Flash().SetCommandHandler([this](const std::string& command, const std::string& args) {
        Guarded([&] { Flash_FSCommand(command, args); });
    });
    txtMonitor().SetChangeHandler([this] { Guarded([&] { txtMonitor_Change(); }); });
    SysTray().SetMouseHandlers([this](int button) { Guarded([&] { SysTray_MouseDown(button); }); },
                               [this](int button) { Guarded([&] { SysTray_MouseDblClick(button); }); });
    Window().SetCloseRequestHandler([this] { Guarded([&] { EndMe(); }); });
    Notifier().SetClickHandler([this](std::uint32_t notice) { Guarded([&] { Notifier_Click(notice); }); });
    Window().SetDropHandler([this](const std::vector<std::string>& addresses) {
        Guarded([&] { Form_LinksDropped(addresses); });
    });

    platform::GridHandlers handlers;
    handlers.InitializeLayout = [this] { Guarded([&] { DownloadGrid_InitializeLayout(); }); };
    handlers.BeforeCellUpdate = [this](const platform::GridCell& cell, const std::string& value, bool& cancel) {
        Guarded([&] { DownloadGrid_BeforeCellUpdate(cell, value, cancel); });
    };
    handlers.AfterCellUpdate = [this](const platform::GridCell& cell) {
        Guarded([&] { DownloadGrid_AfterCellUpdate(cell); });
    };
    // Delete in the list does what the movie's "Remove selected" does.
    handlers.DeletePressed = [this] { Guarded([&] { RemoveSelected(); }); };
    handlers.ContextMenu = [this](int x, int y) { Guarded([&] { DownloadGrid_ContextMenu(x, y); }); };
    DownloadGrid().SetHandlers(std::move(handlers));
}

frmMain::~frmMain()
{
    // No event may reach a half-destroyed window.
    tmrDownload.SetEnabled(false);
    tmrend.SetEnabled(false);
    tmrMonitor.SetEnabled(false);
    Download.DownloadComplete = nullptr;
    Download.DownloadProgress = nullptr;
    Download.DownloadError = nullptr;
    Download.StopWaiting = nullptr;
    Flash().SetCommandHandler(nullptr);
    txtMonitor().SetChangeHandler(nullptr);
    SysTray().SetMouseHandlers(nullptr, nullptr);
    Window().SetCloseRequestHandler(nullptr);
    Window().SetDropHandler(nullptr);
    Notifier().SetClickHandler(nullptr);
    DownloadGrid().SetHandlers({});
    DownloadGrid().SetDrawFilter(nullptr);
}

platform::MainWindowHost& frmMain::Window() { return *controls_.Window; }
platform::MovieHost& frmMain::Flash() { return *controls_.Flash; }
platform::GridControl& frmMain::DownloadGrid() { return *controls_.DownloadGrid; }
platform::TrayIcon& frmMain::SysTray() { return *controls_.SysTray; }
platform::Mailbox& frmMain::txtMonitor() { return *controls_.txtMonitor; }
platform::DesktopNotifier& frmMain::Notifier() { return *controls_.Notifier; }

std::string frmMain::BrowseForFolder(const std::string& prompt)
{
    return platform::PickFolder(prompt, sDownloadDir);
}

} // namespace tollivex
