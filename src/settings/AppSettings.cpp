#include "settings/AppSettings.h"

#include "platform/FileSystem.h"
#include "platform/registry/Registry.h"
#include "settings/CRegister.h"

#include <cctype>

namespace tollivex {

bool bUrlMonitor = false;
std::string sDownloadDir;

const char* const kSettingsSection = "Software\\Harrowmere Tollivex\\Settings";
const char* const kUrlMonitorValue = "URL Mon";
const char* const kDownloadDirValue = "Download Dir";
const char* const kBrowsePrompt = "Please select the desired Download directory then press Ok.";

namespace {

constexpr std::uint32_t kRoot = platform::registry::HKeyCurrentUser;

// Each step of loading and saving stands alone: a failing one is skipped.
template <typename Fn>
void Step(Fn&& fn) noexcept
{
    try {
        fn();
    } catch (...) {
    }
}

bool EqualsIgnoringCase(const std::string& text, const char* word)
{
    std::size_t i = 0;
    for (; i < text.size() && word[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != word[i])
            return false;
    return i == text.size() && !word[i];
}

/// A decimal number (sign, digits, optional fraction and exponent), read
/// without the locale; its value tells only whether it is zero.
std::optional<bool> ReadNumberIsNonZero(const std::string& text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    bool digits = false;
    bool nonZero = false;
    auto readDigits = [&] {
        for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
            digits = true;
            nonZero = nonZero || text[i] != '0';
        }
    };
    readDigits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        readDigits();
    }
    if (!digits)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            ++i;
        if (i == start)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    return nonZero;
}

std::string TrimBlanks(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

} // namespace

std::string DefaultDownloadDir()
{
#ifdef _WIN32
    return "C:\\Downloaded Videos";
#else
    return platform::JoinPath(platform::HomeFolder(), "Downloaded Videos");
#endif
}

std::optional<bool> ReadFlag(const std::string& text)
{
    const std::string trimmed = TrimBlanks(text);
    if (EqualsIgnoringCase(trimmed, "true"))
        return true;
    if (EqualsIgnoringCase(trimmed, "false"))
        return false;
    return ReadNumberIsNonZero(trimmed);
}

void LoadSettings(SettingsHost& host)
{
    CRegister registry;
    Step([&] {
        if (const auto flag = ReadFlag(registry.REGGetSetting(kRoot, kSettingsSection, kUrlMonitorValue, "true")))
            bUrlMonitor = *flag;
    });
    Step([&] {
        if (bUrlMonitor)
            host.Monitor(true);
    });
    Step([&] {
        const std::string folder = registry.REGGetSetting(kRoot, kSettingsSection, kDownloadDirValue,
                                                          DefaultDownloadDir());
        // A stored empty folder would send the videos to the working folder.
        sDownloadDir = TrimBlanks(folder).empty() ? DefaultDownloadDir() : folder;
    });
    Step([&] { MirrorSettings(host); });
}

void SaveSettings()
{
    CRegister registry;
    Step([&] { registry.REGSaveSetting(kRoot, kSettingsSection, kUrlMonitorValue, bUrlMonitor ? "True" : "False"); });
    Step([&] { registry.REGSaveSetting(kRoot, kSettingsSection, kDownloadDirValue, sDownloadDir); });
}

void MirrorSettings(SettingsHost& host)
{
    Step([&] { host.SetMovieVariable("_root.autoToDownloadList_CB", bUrlMonitor ? "1" : "0"); });
    Step([&] { host.SetMovieVariable("_root.Download_CB", "1"); });
    Step([&] { host.SetMovieVariable("_root.Convert_CB", "1"); });
    Step([&] { host.SetMovieVariable("_root.download_dir", sDownloadDir); });
}

void cmdBrowse_Click(SettingsHost& host)
{
    std::string path;
    Step([&] { path = host.BrowseForFolder(kBrowsePrompt); });
    if (path.empty())
        return; // cancelled: the movie and the folder stay as they are
    Step([&] { host.SetMovieVariable("_root.download_dir", path); });
    sDownloadDir = path;
}

} // namespace tollivex
