// The help page beside the program: every site with an address the program
// recognises as that site, every status text, and where things are kept.
#include "platform/FileSystem.h"
#include "queue/DownloadItem.h"
#include "resolve/SiteCode.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <set>
#include <string>

using namespace tollivex;

TEST(HelpPage, ListsEverySiteWithAnExampleEveryStatusAndWhereThingsAre)
{
    const auto page = platform::ReadWholeFile(std::string(std::getenv("TOLLIVEX_SOURCE_DIR")) + "/assets/Help.html");
    ASSERT_TRUE(page.has_value());

    // One row per site: its name and an example address recognised as that site.
    std::set<int> sites;
    const std::regex row("<tr><td>([^<]+)</td><td><code>([^<]+)</code></td></tr>");
    for (auto m = std::sregex_iterator(page->begin(), page->end(), row); m != std::sregex_iterator(); ++m) {
        const int code = GetSiteCode((*m)[2]);
        EXPECT_NE(code, siteNone) << (*m)[1] << ": " << (*m)[2];
        sites.insert(code);
    }
    EXPECT_EQ(sites.size(), 12u);

    for (const char* text : {status::kWaiting,
                             status::kNotSupported,
                             status::kPreparingStart,
                             status::kPreparingUnknown,
                             status::kStartDownloading,
                             status::kSoFarSuffix,
                             status::kComplete,
                             status::kError,
                             status::kCancelled,
                             filename::kUnsupportedLink,
                             filename::kProcessFailed,
                             ".part",
                             "~/.config/Tollivex/registry.json",
                             "F1",
                             "What to do with an ERROR item",
                             "Watching the clipboard",
                             "The tray icon",
                             "Drop a link",
                             "Shift+F10",
                             "Open Containing Folder",
                             "Copy Page Address",
                             "about 40 s left",
                             "Notifications",
                             "http_proxy"})
        EXPECT_NE(page->find(text), std::string::npos) << text;
}
