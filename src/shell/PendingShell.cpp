// Placeholder bodies until the window's routines are built; replaced, then removed.
#include "shell/frmMain.h"
namespace tollivex {
void frmMain::Form_Load() {}
void frmMain::InitMainWindow() {}
void frmMain::EndMe() { bEnded_ = true; }
void frmMain::Flash_FSCommand(const std::string&, const std::string&) {}
void frmMain::SetMovieVariable(const std::string&, const std::string&) {}
void frmMain::SysTray_MouseDown(int) {}
void frmMain::SysTray_MouseDblClick(int) {}
void frmMain::mnuWebVideo_Click() {}
void frmMain::mnuDownload_Click() {}
void frmMain::mnuMonitor_Click() {}
void frmMain::mnuExit_Click() {}
void frmMain::tmrend_Timer() {}
void frmMain::StartHook() {}
void frmMain::StopHook() {}
void frmMain::ScrollUp() {}
void frmMain::ScrollDown() {}
} // namespace tollivex
