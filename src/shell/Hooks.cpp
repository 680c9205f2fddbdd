// The two filters in front of the movie and the main window: the player's
// context menu never opens, and the wheel scrolls the grid one row a notch.
#include "platform/gui/GridControl.h"
#include "platform/gui/MainWindowHost.h"
#include "platform/gui/MovieHost.h"
#include "shell/frmMain.h"

namespace tollivex {

namespace {
// What StartHook installed, so StopHook puts back only that.
bool bFlashHookInstalled = false;
bool bMainHookInstalled = false;

void InstallFlashHook(platform::MovieHost& player, bool on)
{
    if (on) {
        player.SuppressContextMenu(true);
        bFlashHookInstalled = true;
    } else if (bFlashHookInstalled) {
        player.SuppressContextMenu(false);
        bFlashHookInstalled = false;
    }
}
} // namespace

void frmMain::StartHook()
{
    // A player without a window of its own gets no filter; the wheel
    // handler is installed all the same.
    if (Flash().HasPlayerWindow() && !bFlashHookInstalled)
        InstallFlashHook(Flash(), true);
    if (!bMainHookInstalled) {
        Window().SetWheelHandler([this](int delta) {
            if (bEnded_ || !DownloadGrid().IsActiveControl())
                return false;
            // One notch, one row, whatever distance it carries.
            if (delta >= 0)
                ScrollDown();
            else
                ScrollUp();
            return true;
        });
        bMainHookInstalled = true;
    }
}

void frmMain::StopHook()
{
    if (Flash().HasPlayerWindow())
        InstallFlashHook(Flash(), false);
    if (bMainHookInstalled) {
        Window().SetWheelHandler(nullptr);
        bMainHookInstalled = false;
    }
}

// Toward the last row: the wheel turned toward the user.
void frmMain::ScrollUp()
{
    if (!DownloadGrid().IsActiveControl())
        return;
    try {
        DownloadGrid().ScrollRowRegion(1);
    } catch (...) {
    }
}

// Toward the first row: the wheel turned away from the user.
void frmMain::ScrollDown()
{
    if (!DownloadGrid().IsActiveControl())
        return;
    try {
        DownloadGrid().ScrollRowRegion(0);
    } catch (...) {
    }
}

} // namespace tollivex
