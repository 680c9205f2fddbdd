#include "resolve/PageFile.h"
#include "resolve/LinkHosts.h"
#include "resolve/LinkSafety.h"
#include "resolve/SiteCode.h"
#include "resolve/VideoLinks.h"

#include "platform/FileSystem.h"
#include "platform/seams/TestSeams.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace tollivex {
namespace {

using FetchedPageResolver = std::string (*)(const std::string&);

struct SiteFixture {
    int code;
    FetchedPageResolver resolve;
    std::string address;
    std::string page;
    std::string expected;
};

// One page per site that its resolver turns into a link.
std::vector<SiteFixture> SiteFixtures()
{
    const std::string mySpace = std::string("http://") + kMySpaceContentHost;
    const std::string breakHost = std::string("http://") + kBreakMediaHost;
    return {
        {siteGoogleVideo, GetGoogleVideoLink, "http://video.google.com/videoplay?docid=1",
         "<a href=\"http://v.google.com/d?a=1&amp;b=2\" id=ipoddownloadlink>", "http://v.google.com/d?a=1&b=2"},
        {siteYouTube, GetYouTubeLink, "http://www.youtube.com/watch?v=xyz", "<html>\r\n</html>",
         std::string("http://") + kGoogleVideoCacheHost + "/get_video?video_id=xyz"},
        {siteBolt, GetBoltLink, "http://www.bolt.com/v/1",
         "Value=\"[url=http://www.bolt.com/v/1][IMG]http://i/image/a_b.jpg[/IMG]", "http://i/movie/a.flv"},
        {siteMySpace, GetMySpaceLink, "http://vids.myspace.com/?videoid=1234567890", "x",
         mySpace + "/0012345/09/87/1234567890.flv"},
        {siteAngryAlien, GetAngryAlienLink, "http://www.angryalien.com/a", "<embed src=\"http://a/b.swf\">",
         "http://a/b.swf"},
        {siteThatVideoSite, GetThatVideoSiteLink, "http://www.thatvideosite.com/a", "<embed src='http://a/b.swf'>",
         "http://a/b.swf"},
        {siteIFilm, GetIFilmLink, "http://www.ifilm.com/a", "*url* : *http://a/b?c$d*,", "http://a/b?c&d"},
        {siteBreak, GetBreakLink, "http://www.break.com/a", "sGlobalFileName='n';\nsGlobalContentFilePath='p';",
         breakHost + "/dnet/media/p/n.flv"},
        {siteBlip, GetBlipLink, "http://blip.tv/file/1",
         "readonly=\"readonly\" type=\"text\" class=\"permalink_input\" value=\"http://blip.tv/file/1.flv\"",
         "http://blip.tv/file/1.flv"},
        {siteDailyMotion, GetDailyMotionLink, "http://www.dailymotion.com/a",
         "addVariable(\"url\", \"http%3A%2F%2Fa%2Fb.flv\")", "http://a/b.flv"},
        {sitePutFile, GetPutFileLink, "http://www.putfile.com/a", "<embed src=\"http://a/b.wmv\">", "http://a/b.wmv"},
        {siteZippyVideos, GetZippyVideosLink, "http://www.zippyvideos.com/a",
         "storageId=s&userName=u&videoId=v&srvURL=http://h'", "http://h/s/u/v"},
    };
}

class FetchedPage : public ::testing::Test {
protected:
    void SetUp() override { platform::SetProgramFolder(folder_.Path()); }
    void WritePage(const std::string& bytes) { folder_.Write("Parse.wvi", bytes); }

    test::TempFolder folder_;
};

TEST_F(FetchedPage, EverySiteResolvesItsPageFromTheScratchFile)
{
    EXPECT_EQ(PageFilePath(), platform::JoinPath(folder_.Path(), "Parse.wvi"));
    for (const SiteFixture& site : SiteFixtures()) {
        ASSERT_EQ(GetSiteCode(site.address), site.code) << site.address;
        WritePage(site.page);
        EXPECT_EQ(ReadPageFile(), site.page);
        EXPECT_EQ(site.resolve(site.address), site.expected) << site.address;
        EXPECT_EQ(ResolveVideoLink(site.code, site.address), site.expected) << site.address;
        ASSERT_NE(ResolverFor(site.code), nullptr);
        EXPECT_EQ(ResolverFor(site.code)(site.address, site.page), site.expected);
        // Resolving never changes the scratch file.
        EXPECT_EQ(ReadPageFile(), site.page);
    }
}

TEST_F(FetchedPage, MissingEmptyOrUnreadablePageGivesNoLink)
{
    const std::vector<SiteFixture> sites = SiteFixtures();
    for (const SiteFixture& site : sites)
        EXPECT_EQ(ResolveVideoLink(site.code, site.address), "") << "no Parse.wvi: " << site.address;
    WritePage("");
    for (const SiteFixture& site : sites) {
        EXPECT_EQ(site.resolve(site.address), "") << "empty Parse.wvi: " << site.address;
        EXPECT_EQ(ResolveVideoLink(site.code, site.address), "") << site.address;
    }
    std::filesystem::remove(PageFilePath());
    std::filesystem::create_directory(PageFilePath());
    EXPECT_EQ(ReadPageFile(), "");
    EXPECT_EQ(ResolveVideoLink(siteYouTube, "http://www.youtube.com/watch?v=xyz"), "");
}

TEST_F(FetchedPage, CodesWithoutResolverAndBytesKeptAsFetched)
{
    WritePage("<embed src=\"http://a/b.swf\">");
    for (const int code : {-1, 0, 7, 14, 1000})
        EXPECT_EQ(ResolveVideoLink(code, "http://www.angryalien.com/a"), "") << code;
    EXPECT_EQ(ResolverFor(7), nullptr);

    // The page is bytes: NULs and CR LF stay, nothing is decoded on reading.
    const std::string page("a\0b\r\n<embed src=\"http://a/\xe9.swf\">", 33);
    WritePage(page);
    EXPECT_EQ(ReadPageFile(), page);
    EXPECT_EQ(GetAngryAlienLink("http://www.angryalien.com/a"), "http://a/\xe9.swf");
}

TEST(MakeLinkSafe, ControlBytesRefusedEverythingElseKept)
{
    EXPECT_EQ(MakeLinkSafe("http://a/my clip.flv"), "http://a/my clip.flv");
    EXPECT_EQ(MakeLinkSafe("http://a/\xc3\xa9"), "http://a/\xc3\xa9");
    EXPECT_EQ(MakeLinkSafe("http://a/%20?x=1&y=\"'<>"), "http://a/%20?x=1&y=\"'<>");
    for (const char c : std::string("\0\r\n\t\x01\x1f\x7f", 7))
        EXPECT_EQ(MakeLinkSafe(std::string("http://a/") + c + "b"), "") << static_cast<int>(c);
    EXPECT_EQ(MakeLinkSafe(""), "");
}

TEST(ResolversEverySite, LineBreaksNeverLeaveSpacesStayAsGiven)
{
    // The same rule for every site: a value with a line break gives no link,
    // one with a space keeps it (the saved name comes from the link).
    const struct {
        int code;
        std::string address;
        std::string page; // "@" stands for the unsafe byte
        std::string spaced;
    } rows[] = {
        {siteGoogleVideo, "g", "<a href=\"http://a/@b\" ipoddownloadlink", "http://a/ b"},
        {siteYouTube, "y", "video_id=a@b&", std::string("http://") + kGoogleVideoCacheHost + "/get_video?video_id=a b"},
        {siteBolt, "b", "Value=\"[url=b][IMG]http://i/image/a@b.jpg[/IMG]", "http://i/movie/a b.flv"},
        {siteAngryAlien, "a", "<embed src=\"http://a/@b\">", "http://a/ b"},
        {siteThatVideoSite, "t", "<embed src='http://a/@b'>", "http://a/ b"},
        {siteIFilm, "i", "*url* : *http://a/@b*,", "http://a/ b"},
        {siteBreak, "k", "sGlobalFileName='n@';sGlobalContentFilePath='p';",
         std::string("http://") + kBreakMediaHost + "/dnet/media/p/n .flv"},
        {siteBlip, "l", "readonly=\"readonly\" type=\"text\" class=\"permalink_input\" value=\"http://a/@bcdef\"",
         "http://a/ bcdef"},
        {siteDailyMotion, "d", "addVariable(\"url\", \"http://a/@b\")", "http://a/ b"},
        {sitePutFile, "p", "http://a/@b.flv", "http://a/ b.flv"},
        {siteZippyVideos, "z", "storageId=s&userName=u@&videoId=v&srvURL=http://h'", "http://h/s/u /v"},
    };
    for (const auto& row : rows) {
        std::string spaced = row.page, broken = row.page, escapedBreak = row.page;
        const size_t at = row.page.find('@');
        spaced.replace(at, 1, " ");
        broken.replace(at, 1, "\r\n");
        escapedBreak.replace(at, 1, "%0D%0A");
        const PageResolver resolve = ResolverFor(row.code);
        EXPECT_EQ(resolve(row.address, spaced), row.spaced) << row.code;
        EXPECT_EQ(resolve(row.address, broken), "") << row.code;
        if (row.code == siteDailyMotion) {
            EXPECT_EQ(resolve(row.address, escapedBreak), "");
        }
    }
    const std::string mySpace = "http://vids.myspace.com/?videoid=12345";
    EXPECT_EQ(GetMySpaceLink(mySpace + " 6", "x"),
              std::string("http://") + kMySpaceContentHost + "/0000012/6 /54/12345 6.flv");
    EXPECT_EQ(GetMySpaceLink(mySpace + "\n6", "x"), "");
}

} // namespace
} // namespace tollivex
