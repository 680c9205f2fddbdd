// Placeholder bodies until the clipboard monitor is built; replaced, then removed.
#include "shell/frmMain.h"
namespace tollivex {
void frmMain::Monitor(bool bState) { bUrlMonitor = bState; }
void frmMain::txtMonitor_Change() {}
void frmMain::chkMonitor_Click() {}
void frmMain::tmrMonitor_Timer() {}
} // namespace tollivex
