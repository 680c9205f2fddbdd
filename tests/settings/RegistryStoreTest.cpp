// CRegister over the per-user store file: reads with defaults, writes,
// deletes, the default value, read-only stores, damaged stores, and two
// programs sharing one store.

#include "RegistryHelper.h"
#include "platform/registry/Registry.h"
#include "platform/registry/UserStore.h"
#include "platform/seams/TestSeams.h"
#include "settings/CRegister.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace tollivex {
namespace {

namespace fs = std::filesystem;
constexpr std::uint32_t kRoot = platform::registry::HKeyCurrentUser;
const std::string kSection = "Software\\Harrowmere Tollivex\\Settings";

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

std::vector<std::string> FilesStartingWith(const std::string& folder, const std::string& prefix)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().rfind(prefix, 0) == 0)
            found.push_back(entry.path().string());
    return found;
}

class RegistryStore : public ::testing::Test {
protected:
    void SetUp() override { platform::registry::SetStoreFolder(folder.File("config")); }
    void TearDown() override { platform::registry::SetStoreFolder(""); }

    std::string StoreFolder() const { return folder.File("config"); }
    std::string StoreFile() const { return platform::registry::StoreFile(); }

    test::TempFolder folder;
    CRegister registry;
};

TEST_F(RegistryStore, StripKeySlashesRemovesOneBackslashAtEachEnd)
{
    EXPECT_EQ(registry.StripKeySlashes("\\Software\\A\\"), "Software\\A");
    EXPECT_EQ(registry.StripKeySlashes("\\\\Software\\A\\\\"), "\\Software\\A\\");
    EXPECT_EQ(registry.StripKeySlashes("Software\\A"), "Software\\A");
    EXPECT_EQ(registry.StripKeySlashes("\\"), "");
    EXPECT_EQ(registry.StripKeySlashes(""), "");
}

TEST_F(RegistryStore, ReadsWithDefaultsWritesAndReadsBack)
{
    // Reading a missing key gives the default and creates nothing.
    EXPECT_EQ(registry.REGGetSetting(kRoot, kSection, "URL Mon", "true"), "true");
    EXPECT_FALSE(fs::exists(StoreFolder()));

    // Saving into a missing key creates the whole path.
    ASSERT_TRUE(registry.REGSaveSetting(kRoot, kSection, "URL Mon", "False"));
    EXPECT_EQ(registry.REGGetSetting(kRoot, kSection, "URL Mon", "true"), "False");
    EXPECT_EQ(registry.REGGetSetting(kRoot, "Software\\Harrowmere Tollivex", "URL Mon", "none"), "none");

    // A missing value in an existing key still gives the default.
    EXPECT_EQ(registry.REGGetSetting(kRoot, kSection, "Download Dir", "dflt"), "dflt");

    // Every length comes back as written, one character and the empty text included.
    for (const std::string& text : {std::string("x"), std::string("/home/u/Downloaded Videos"), std::string(5000, 'v'),
                                    std::string("caf\xc3\xa9 \"quoted\" \\back\\")}) {
        ASSERT_TRUE(registry.REGSaveSetting(kRoot, kSection, "Download Dir", text));
        EXPECT_EQ(registry.REGGetSetting(kRoot, kSection, "Download Dir", "dflt"), text);
    }
    ASSERT_TRUE(registry.REGSaveSetting(kRoot, kSection, "Download Dir", ""));
    EXPECT_EQ(registry.REGGetSetting(kRoot, kSection, "Download Dir", "dflt"), "");

    // Key paths and value names ignore letter case, as in the registry.
    EXPECT_EQ(registry.REGGetSetting(kRoot, "SOFTWARE\\harrowmere tollivex\\settings", "url mon", "true"), "False");
    ASSERT_TRUE(registry.REGSaveSetting(kRoot, "software\\HARROWMERE TOLLIVEX\\Settings", "URL MON", "True"));
    EXPECT_EQ(registry.REGGetSetting(kRoot, kSection, "URL Mon", "x"), "True");

    // Slashes at both ends of the section are ignored.
    EXPECT_EQ(registry.REGGetSetting(kRoot, "\\" + kSection + "\\", "URL Mon", "x"), "True");
    ASSERT_TRUE(registry.REGSaveSetting(kRoot, "\\" + kSection + "\\", "Other", "o"));
    EXPECT_EQ(registry.REGGetSetting(kRoot, kSection, "Other", "x"), "o");

    // Other roots are kept apart.
    EXPECT_EQ(registry.REGGetSetting(platform::registry::HKeyLocalMachine, kSection, "URL Mon", "apart"), "apart");
}

TEST_F(RegistryStore, StarNamesTheDefaultValue)
{
    EXPECT_EQ(registry.REGGetSetting(kRoot, kSection, "*", "dflt"), "dflt");
    ASSERT_TRUE(registry.REGSaveSetting(kRoot, kSection, "*", "unnamed"));
    EXPECT_EQ(registry.REGGetSetting(kRoot, kSection, "*", "dflt"), "unnamed");
    EXPECT_EQ(registry.REGGetSetting(kRoot, kSection, "", "dflt"), "unnamed");
    EXPECT_EQ(registry.REGGetSetting(kRoot, kSection, "URL Mon", "dflt"), "dflt");
    EXPECT_TRUE(registry.REGDeleteSetting(kRoot, kSection, "*"));
    EXPECT_EQ(registry.REGGetSetting(kRoot, kSection, "*", "dflt"), "dflt");
}

TEST_F(RegistryStore, DeletesValuesAndKeys)
{
    EXPECT_FALSE(registry.REGDeleteSetting(kRoot, kSection, "URL Mon")); // no key yet
    ASSERT_TRUE(registry.REGSaveSetting(kRoot, kSection, "URL Mon", "True"));
    ASSERT_TRUE(registry.REGSaveSetting(kRoot, kSection, "Download Dir", "/d"));

    EXPECT_TRUE(registry.REGDeleteSetting(kRoot, kSection, "URL Mon"));
    EXPECT_FALSE(registry.REGDeleteSetting(kRoot, kSection, "URL Mon")); // already gone
    EXPECT_EQ(registry.REGGetSetting(kRoot, kSection, "URL Mon", "dflt"), "dflt");
    EXPECT_EQ(registry.REGGetSetting(kRoot, kSection, "Download Dir", "dflt"), "/d");

    // An empty key deletes the section itself, named exactly as given.
    EXPECT_FALSE(registry.REGDeleteSetting(kRoot, "\\" + kSection, ""));
    EXPECT_FALSE(registry.REGDeleteSetting(kRoot, "Software\\Harrowmere Tollivex", "")); // has a subkey
    EXPECT_TRUE(registry.REGDeleteSetting(kRoot, kSection, ""));
    EXPECT_EQ(registry.REGGetSetting(kRoot, kSection, "Download Dir", "dflt"), "dflt");
    EXPECT_FALSE(registry.REGDeleteSetting(kRoot, kSection, ""));
    EXPECT_TRUE(registry.REGDeleteSetting(kRoot, "Software\\Harrowmere Tollivex", ""));
}

TEST_F(RegistryStore, TheFileIsLaidOutAsEarlierVersionsWroteIt)
{
    ASSERT_TRUE(registry.REGSaveSetting(kRoot, kSection, "URL Mon", "False"));
    ASSERT_TRUE(registry.REGSaveSetting(kRoot, "Software\\Other", "Tab\tQuote\"", "caf\xc3\xa9\x01\\\xff"));
    ASSERT_TRUE(registry.REGDeleteSetting(kRoot, kSection, "URL Mon"));
    EXPECT_EQ(ReadFile(StoreFile()), R"({
    "HKEY_CURRENT_USER": {
        "keys": {
            "Software": {
                "keys": {
                    "Harrowmere Tollivex": {
                        "keys": {
                            "Settings": {
                                "values": {
                                }
                            }
                        }
                    },
                    "Other": {
                        "values": {
                            "Tab\tQuote\"": "café\u0001\\�"
                        }
                    }
                }
            }
        }
    }
}
)");
}

TEST_F(RegistryStore, ReadOnlyStoreIsReadButNotChanged)
{
    ASSERT_TRUE(registry.REGSaveSetting(kRoot, kSection, "URL Mon", "False"));
    const std::string before = ReadFile(StoreFile());
    // Marked read-only like the registry's read-only keys: honoured even for
    // an administrator, who could otherwise write through the file mode.
    fs::permissions(StoreFile(), fs::perms::owner_read | fs::perms::group_read);

    EXPECT_EQ(registry.REGGetSetting(kRoot, kSection, "URL Mon", "true"), "False");
    EXPECT_EQ(registry.REGGetSetting(kRoot, kSection, "Missing", "dflt"), "dflt");
    EXPECT_FALSE(registry.REGSaveSetting(kRoot, kSection, "URL Mon", "True"));
    EXPECT_FALSE(registry.REGSaveSetting(kRoot, "Software\\New", "v", "1"));
    EXPECT_FALSE(registry.REGDeleteSetting(kRoot, kSection, "URL Mon"));
    EXPECT_FALSE(registry.REGDeleteSetting(kRoot, kSection, ""));
    EXPECT_EQ(ReadFile(StoreFile()), before);

    // The full-access open is the one refused; a read-access open still works.
    platform::registry::KeyHandle key = nullptr;
    EXPECT_EQ(platform::registry::OpenKey(kRoot, kSection, platform::registry::KeyAllAccess, key),
              platform::registry::ErrorAccessDenied);
    ASSERT_EQ(platform::registry::OpenKey(kRoot, kSection, platform::registry::KeyRead, key),
              platform::registry::ErrorSuccess);
    EXPECT_EQ(platform::registry::SetTextValue(key, "URL Mon", "True"), platform::registry::ErrorAccessDenied);
    platform::registry::CloseKey(key);

    fs::permissions(StoreFile(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_TRUE(registry.REGSaveSetting(kRoot, kSection, "URL Mon", "True"));
}

TEST_F(RegistryStore, DamagedStoreIsKeptAsideReportedOnceAndReadAsEmpty)
{
    fs::create_directories(StoreFolder());
    for (const std::string& damage :
         {std::string("{\"HKEY_CURRENT_USER\": {\"keys\": {\"Soft"),
          std::string("{\"HKEY_CURRENT_USER\": {\"values\": {\"a\": 5}}}"), std::string("\x00\x01\x02garbage", 10)}) {
        for (const auto& old : FilesStartingWith(StoreFolder(), "registry.json.corrupt-"))
            fs::remove(old);
        {
            std::ofstream(StoreFile(), std::ios::binary) << damage;
        }

        // Another program reads it twice: the defaults, and one report.
        const auto read = test::RunHelper(StoreFolder(), {"get", kSection, "URL Mon", "true"});
        ASSERT_EQ(read.exitCode, 0) << read.err;
        EXPECT_EQ(read.out, "true");
        std::size_t reports = 0;
        for (std::size_t at = read.err.find("could not be read"); at != std::string::npos;
             at = read.err.find("could not be read", at + 1))
            ++reports;
        EXPECT_EQ(reports, 1u) << read.err;

        const auto backups = FilesStartingWith(StoreFolder(), "registry.json.corrupt-");
        ASSERT_EQ(backups.size(), 1u);
        EXPECT_EQ(ReadFile(backups[0]), damage);
        EXPECT_FALSE(fs::exists(StoreFile()));

        // The store works again from empty.
        EXPECT_TRUE(registry.REGSaveSetting(kRoot, kSection, "URL Mon", "False"));
        EXPECT_EQ(registry.REGGetSetting(kRoot, kSection, "URL Mon", "true"), "False");
        EXPECT_EQ(FilesStartingWith(StoreFolder(), "registry.json.corrupt-").size(), 1u);
    }

    // A damaged store met first by a save is kept too, never overwritten unseen.
    for (const auto& old : FilesStartingWith(StoreFolder(), "registry.json.corrupt-"))
        fs::remove(old);
    {
        std::ofstream(StoreFile(), std::ios::binary) << "not json";
    }
    EXPECT_TRUE(registry.REGSaveSetting(kRoot, kSection, "Download Dir", "/v"));
    const auto backups = FilesStartingWith(StoreFolder(), "registry.json.corrupt-");
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(ReadFile(backups[0]), "not json");
    EXPECT_EQ(registry.REGGetSetting(kRoot, kSection, "Download Dir", "dflt"), "/v");
}

TEST_F(RegistryStore, ValuesPersistAcrossPrograms)
{
    ASSERT_EQ(test::RunHelper(StoreFolder(), {"save", kSection, "Download Dir", "/srv/videos"}).exitCode, 0);
    const auto read = test::RunHelper(StoreFolder(), {"get", kSection, "download dir", "dflt"});
    EXPECT_EQ(read.exitCode, 0);
    EXPECT_EQ(read.out, "/srv/videos");
    EXPECT_EQ(registry.REGGetSetting(kRoot, kSection, "Download Dir", "dflt"), "/srv/videos");
    // Only the store and its lock are left; no half-written temporary files.
    for (const auto& entry : fs::directory_iterator(StoreFolder()))
        EXPECT_TRUE(entry.path().filename() == "registry.json" || entry.path().filename() == "registry.json.lock")
            << entry.path();
}

TEST_F(RegistryStore, ConcurrentWritersKeepEachOthersValues)
{
    constexpr int kEach = 40;
    const std::string each = std::to_string(kEach);
    test::ChildProgram first(test::ThisProgram(), test::HelperArguments(StoreFolder(), {"many", kSection, "A", each}));
    test::ChildProgram second(test::ThisProgram(), test::HelperArguments(StoreFolder(), {"many", kSection, "B", each}));
    const auto firstEnd = first.Finish(120000);
    const auto secondEnd = second.Finish(120000);
    EXPECT_EQ(firstEnd.exitCode, 0) << firstEnd.err;
    EXPECT_EQ(secondEnd.exitCode, 0) << secondEnd.err;
    for (int i = 0; i < kEach; ++i)
        for (const std::string prefix : {"A", "B"}) {
            const std::string name = prefix + std::to_string(i);
            EXPECT_EQ(registry.REGGetSetting(kRoot, kSection, name, "lost"), "value " + name);
        }
}

} // namespace
} // namespace tollivex
