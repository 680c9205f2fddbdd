#pragma once
// The program's two persistent settings and their load, save and mirror steps.

#include <optional>
#include <string>

namespace tollivex {

/// Where the settings live (under the current user) and their value names.
extern const char* const kSettingsSection;  // "Software\Harrowmere Tollivex\Settings"
extern const char* const kUrlMonitorValue;  // "URL Mon"
extern const char* const kDownloadDirValue; // "Download Dir"
/// The prompt above the folder picker.
extern const char* const kBrowsePrompt;

/// The download folder when none is stored: "Downloaded Videos" in the user's
/// home folder ("C:\Downloaded Videos" on Windows).
std::string DefaultDownloadDir();

/// A stored "URL Mon" as a flag: "true"/"false" in any letter case, or a
/// number (0 is false, any other true), blanks around it allowed; nothing for
/// any other text.
std::optional<bool> ReadFlag(const std::string& text);

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
