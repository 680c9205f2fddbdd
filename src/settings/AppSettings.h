#pragma once
// The program's two persistent settings and their load, save and mirror steps.

#include <string>

namespace tollivex {

/// The clipboard monitor switch ("URL Mon"); false until the settings are loaded.
extern bool bUrlMonitor;
/// The download folder ("Download Dir"); empty until the settings are loaded.
extern std::string sDownloadDir;

/// What the settings steps need of the main window.
class SettingsHost {
public:
    virtual ~SettingsHost() = default;
    virtual void Monitor(bool bState) = 0;
    virtual void SetMovieVariable(const std::string& name, const std::string& value) = 0;
    /// The folder picker: a path, or "" when nothing was chosen.
    virtual std::string BrowseForFolder(const std::string& prompt) = 0;
};

void LoadSettings(SettingsHost& host);
void SaveSettings();
void MirrorSettings(SettingsHost& host);
/// The folder dialog action (cmdBrowse's click).
void cmdBrowse_Click(SettingsHost& host);

} // namespace tollivex
