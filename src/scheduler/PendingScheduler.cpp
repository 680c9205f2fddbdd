// Placeholder body until the resolvers' dispatch lands; replaced, then removed.
#include "shell/frmMain.h"
namespace tollivex {
std::string frmMain::GetDownloadLink(const std::string&) { return "-1"; }
} // namespace tollivex
