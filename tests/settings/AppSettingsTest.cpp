// Loading, saving and mirroring the two settings and the folder dialog
// action, against a real store in a temporary folder.

#include "settings/AppSettings.h"
#include "platform/FileSystem.h"
#include "platform/registry/Registry.h"
#include "platform/registry/UserStore.h"
#include "platform/seams/TestSeams.h"
#include "settings/CRegister.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace tollivex {
namespace {

namespace fs = std::filesystem;
constexpr std::uint32_t kRoot = platform::registry::HKeyCurrentUser;

/// The main window as the settings see it: records every call.
class RecordingHost : public SettingsHost {
public:
    void Monitor(bool bState) override { calls.push_back(std::string("Monitor(") + (bState ? "on" : "off") + ")"); }
    void SetMovieVariable(const std::string& name, const std::string& value) override
    {
        calls.push_back(name + "=" + value);
        if (name == failingVariable)
            throw std::runtime_error("movie refused");
    }
    std::string BrowseForFolder(const std::string& prompt) override
    {
        calls.push_back("Browse(" + prompt + ")");
        return chosenFolder;
    }

    std::vector<std::string> calls;
    std::string chosenFolder;
    std::string failingVariable;
};

class AppSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::registry::SetStoreFolder(folder.File("config"));
        bUrlMonitor = false;
        sDownloadDir.clear();
    }
    void TearDown() override
    {
        platform::registry::SetStoreFolder("");
        bUrlMonitor = false;
        sDownloadDir.clear();
    }

    std::string Stored(const std::string& value)
    {
        return CRegister().REGGetSetting(kRoot, kSettingsSection, value, "<none>");
    }
    void Store(const std::string& value, const std::string& text)
    {
        ASSERT_TRUE(CRegister().REGSaveSetting(kRoot, kSettingsSection, value, text));
    }

    test::TempFolder folder;
    RecordingHost host;
};

TEST_F(AppSettings, FirstStartSwitchesTheMonitorOnUsesTheDefaultFolderAndWritesNothing)
{
#ifdef _WIN32
    const std::string expectedFolder = "C:\\Downloaded Videos";
#else
    const std::string expectedFolder = platform::JoinPath(platform::HomeFolder(), "Downloaded Videos");
#endif
    EXPECT_EQ(DefaultDownloadDir(), expectedFolder);

    LoadSettings(host);

    EXPECT_TRUE(bUrlMonitor);
    EXPECT_EQ(sDownloadDir, expectedFolder);
    const std::vector<std::string> expected{"Monitor(on)", "_root.autoToDownloadList_CB=1", "_root.Download_CB=1",
                                            "_root.Convert_CB=1", "_root.download_dir=" + expectedFolder};
    EXPECT_EQ(host.calls, expected);
    EXPECT_FALSE(fs::exists(platform::registry::StoreFile()));
}

TEST_F(AppSettings, StoredMonitorFlagIsReadInEveryForm)
{
    struct Case {
        const char* stored;
        bool before;
        bool after;
    };
    const Case cases[] = {
        {"False", true, false},
        {"false", true, false},
        {"0", true, false},
        {" 0 ", true, false},
        {"-0.0", true, false},
        {"True", false, true},
        {"TRUE", false, true},
        {"1", false, true},
        {"-2", false, true},
        {"1.5", false, true},
        {"2e3", false, true},
        // Not a flag: the switch keeps whatever it was.
        {"yes", false, false},
        {"yes", true, true},
        {"", true, true},
        {"1,5", false, false},
        {"0x1", false, false},
        {"truefalse", true, true},
    };
    for (const Case& c : cases) {
        Store(kUrlMonitorValue, c.stored);
        bUrlMonitor = c.before;
        host.calls.clear();
        LoadSettings(host);
        EXPECT_EQ(bUrlMonitor, c.after) << '"' << c.stored << '"';
        ASSERT_FALSE(host.calls.empty());
        // The watcher is started only for a monitor that is on.
        EXPECT_EQ(host.calls.front() == "Monitor(on)", c.after) << '"' << c.stored << '"';
        EXPECT_EQ(host.calls[c.after ? 1 : 0], std::string("_root.autoToDownloadList_CB=") + (c.after ? "1" : "0"));
    }
}

TEST_F(AppSettings, StoredFolderIsUsedAndAnEmptyOneMeansTheDefault)
{
    Store(kUrlMonitorValue, "False");
    Store(kDownloadDirValue, "/srv/media/videos");
    LoadSettings(host);
    EXPECT_EQ(sDownloadDir, "/srv/media/videos");
    EXPECT_EQ(host.calls.back(), "_root.download_dir=/srv/media/videos");

    for (const std::string empty : {"", "   "}) {
        Store(kDownloadDirValue, empty);
        LoadSettings(host);
        EXPECT_EQ(sDownloadDir, DefaultDownloadDir()) << '"' << empty << '"';
    }
}

TEST_F(AppSettings, SaveWritesTheFlagAsWordAndTheFolderAsIs)
{
    bUrlMonitor = true;
    sDownloadDir = "/home/u/My Videos";
    SaveSettings();
    EXPECT_EQ(Stored(kUrlMonitorValue), "True");
    EXPECT_EQ(Stored(kDownloadDirValue), "/home/u/My Videos");

    // What "ID_FS_autoDownloadUncheck" does after switching the watcher off.
    bUrlMonitor = false;
    SaveSettings();
    EXPECT_EQ(Stored(kUrlMonitorValue), "False");

    // Saved values load back unchanged, in another session.
    bUrlMonitor = true;
    sDownloadDir.clear();
    LoadSettings(host);
    EXPECT_FALSE(bUrlMonitor);
    EXPECT_EQ(sDownloadDir, "/home/u/My Videos");
}

TEST_F(AppSettings, BrowseUpdatesTheMovieFirstAndCancelChangesNothingButStillSaves)
{
    sDownloadDir = "/old";
    bUrlMonitor = true;

    host.chosenFolder = "/new/place";
    cmdBrowse_Click(host);
    const std::vector<std::string> chosen{"Browse(Please select the desired Download directory then press Ok.)",
                                          "_root.download_dir=/new/place"};
    EXPECT_EQ(host.calls, chosen);
    EXPECT_EQ(sDownloadDir, "/new/place");
    SaveSettings();
    EXPECT_EQ(Stored(kDownloadDirValue), "/new/place");

    // Cancelled: neither the movie nor the folder change; the save rewrites both values.
    CRegister().REGDeleteSetting(kRoot, kSettingsSection, kUrlMonitorValue);
    CRegister().REGDeleteSetting(kRoot, kSettingsSection, kDownloadDirValue);
    host.calls.clear();
    host.chosenFolder = "";
    cmdBrowse_Click(host);
    EXPECT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(sDownloadDir, "/new/place");
    SaveSettings();
    EXPECT_EQ(Stored(kUrlMonitorValue), "True");
    EXPECT_EQ(Stored(kDownloadDirValue), "/new/place");
}

TEST_F(AppSettings, EachStepStandsAlone)
{
    // A movie that refuses one variable still receives the others.
    host.failingVariable = "_root.Download_CB";
    bUrlMonitor = true;
    sDownloadDir = "/v";
    MirrorSettings(host);
    const std::vector<std::string> expected{"_root.autoToDownloadList_CB=1", "_root.Download_CB=1",
                                            "_root.Convert_CB=1", "_root.download_dir=/v"};
    EXPECT_EQ(host.calls, expected);

    // A store that refuses writes loses the save silently; nothing escapes.
    Store(kUrlMonitorValue, "False");
    fs::permissions(platform::registry::StoreFile(), fs::perms::owner_read);
    EXPECT_NO_THROW(SaveSettings());
    EXPECT_EQ(Stored(kUrlMonitorValue), "False");
    // ... and still loads.
    bUrlMonitor = true;
    LoadSettings(host);
    EXPECT_FALSE(bUrlMonitor);
}

} // namespace
} // namespace tollivex
