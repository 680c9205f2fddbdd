#include "shell/frmMain.h"

#include "platform/FileSystem.h"
#include "platform/gui/DesktopNotifier.h"
#include "platform/gui/MainWindowHost.h"
#include "platform/gui/MovieHost.h"
#include "platform/gui/TrayIcon.h"
#include "platform/window/Desktop.h"
#include "platform/window/Mailbox.h"
#include "scheduler/Guarded.h"

namespace tollivex {

FormControls::FormControls() = default;
FormControls::FormControls(FormControls&&) noexcept = default;
FormControls& FormControls::operator=(FormControls&&) noexcept = default;
FormControls::~FormControls() = default;

frmMain::frmMain(FormControls controls)
    : controls_(std::move(controls)),
      Scheduler(*this, Download),
      Grid(DownloadGrid(), Scheduler, *this),
      Clipboard(txtMonitor(), Scheduler, *this)
{
    tmrend.SetOnTick([this] { Guarded([&] { tmrend_Timer(); }); });
    Flash().SetCommandHandler([this](const std::string& command, const std::string& args) {
        Guarded([&] { Flash_FSCommand(command, args); });
    });
    SysTray().SetMouseHandlers([this](int button) { Guarded([&] { SysTray_MouseDown(button); }); },
                               [this](int button) { Guarded([&] { SysTray_MouseDblClick(button); }); });
    Window().SetCloseRequestHandler([this] { Guarded([&] { EndMe(); }); });
    Notifier().SetClickHandler([this](std::uint32_t notice) { Guarded([&] { Notifier_Click(notice); }); });
    Window().SetDropHandler(
        [this](const std::vector<std::string>& addresses) { Guarded([&] { Form_LinksDropped(addresses); }); });
}

frmMain::~frmMain()
{
    // No event may reach a half-destroyed window; the parts let go of theirs
    // as they go.
    tmrend.SetEnabled(false);
    Flash().SetCommandHandler(nullptr);
    SysTray().SetMouseHandlers(nullptr, nullptr);
    Window().SetCloseRequestHandler(nullptr);
    Window().SetDropHandler(nullptr);
    Notifier().SetClickHandler(nullptr);
}

platform::MainWindowHost& frmMain::Window() { return *controls_.Window; }
platform::MovieHost& frmMain::Flash() { return *controls_.Flash; }
platform::GridControl& frmMain::DownloadGrid() { return *controls_.DownloadGrid; }
platform::TrayIcon& frmMain::SysTray() { return *controls_.SysTray; }
platform::Mailbox& frmMain::txtMonitor() { return *controls_.txtMonitor; }
platform::DesktopNotifier& frmMain::Notifier() { return *controls_.Notifier; }

void frmMain::Monitor(bool bState) { Clipboard.Monitor(bState); }

std::string frmMain::BrowseForFolder(const std::string& prompt) { return platform::PickFolder(prompt, sDownloadDir); }

} // namespace tollivex
