// Placeholder bodies until the settings are built; replaced, then removed.
#include "settings/AppSettings.h"
namespace tollivex {
bool bUrlMonitor = false;
std::string sDownloadDir;
void LoadSettings(SettingsHost&) {}
void SaveSettings() {}
void MirrorSettings(SettingsHost&) {}
void cmdBrowse_Click(SettingsHost&) {}
} // namespace tollivex
