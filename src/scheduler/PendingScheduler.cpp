// Placeholder bodies until the download run is built; replaced, then removed.
#include "shell/frmMain.h"
namespace tollivex {
void frmMain::cmdStartDownload_Click() {}
void frmMain::tmrDownload_Timer() {}
void frmMain::StartDownloading() {}
std::string frmMain::PrepareItem(int) { return "-1"; }
std::pair<std::string, std::string> frmMain::GetLocalFileInfo(const std::string&, int) { return {}; }
std::string frmMain::GetDownloadLink(const std::string&) { return "-1"; }
void frmMain::Download_DownloadComplete() {}
void frmMain::Download_DownloadProgress(std::int32_t&) {}
void frmMain::Download_DownloadError(std::string&) {}
} // namespace tollivex
