#include "resolve/SiteCode.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tollivex {
namespace {

TEST(GetSiteCode, EachSiteAndItsNearMiss)
{
    const struct {
        const char* address;
        int code;
    } rows[] = {
        {"http://video.google.com/videoplay?docid=1", siteGoogleVideo},
        {"http://www.google.co.uk/videoplay?docid=1", siteNone},
        {"http://www.youtube.com/watch?v=abc", siteYouTube},
        {"http://www.youtub.com/watch?v=abc", siteNone},
        {"http://www.bolt.com/video/1", siteBolt},
        {"http://www.bolt.co/video/1", siteNone},
        {"http://vids.myspace.com/index.cfm?videoid=1", siteMySpace},
        {"http://vids.my-space.com/index.cfm?videoid=1", siteNone},
        {"http://www.angryalien.com/0204/", siteAngryAlien},
        {"http://www.angryalien.net/0204/", siteNone},
        {"http://www.thatvideosite.com/v/1", siteThatVideoSite},
        {"http://www.thatvideosite.org/v/1", siteNone},
        {"http://www.ifilm.com/video/1", siteIFilm},
        {"http://www.ifilm.co/video/1", siteNone},
        {"http://www.break.com/index/clip.html", siteBreak},
        {"http://www.breaks.com/index/clip.html", siteNone},
        {"http://blip.tv/file/1", siteBlip},
        {"http://blipp.tv/file/1", siteNone},
        {"http://www.dailymotion.com/video/x1", siteDailyMotion},
        {"http://www.dailymotion.co/video/x1", siteNone},
        {"http://www.putfile.com/abc", sitePutFile},
        {"http://www.putfile.net/abc", siteNone},
        {"http://www.zippyvideos.com/1/", siteZippyVideos},
        {"http://www.zippyvideo.com/1/", siteNone},
        {"http://www.youtube.com/redirect?to=video.google.com", siteGoogleVideo},
        {"HTTP://WWW.YOUTUBE.COM/WATCH?V=ABC", siteYouTube},
        {"http://example.com/out?next=http%3A%2F%2Fwww.break.com%2Fx", siteBreak},
        {"http://example.com/?site=blip.tv", siteBlip},
        {"youtube.com", siteYouTube},
        {"", siteNone},
        {"not an address at all", siteNone},
    };
    for (const auto& row : rows)
        EXPECT_EQ(GetSiteCode(row.address), row.code) << row.address;
}

TEST(GetSiteCode, BadInputIsSafeAndNeverSeven)
{
    std::string huge(100 * 1024, 'a');
    EXPECT_EQ(GetSiteCode(huge), siteNone);
    huge.replace(huge.size() - 11, 11, "youtube.com");
    EXPECT_EQ(GetSiteCode(huge), siteYouTube);

    static const char controlText[] = "http://\0\r\n\x01\x7f/bolt.com";
    const std::string control(controlText, sizeof controlText - 1);
    EXPECT_EQ(GetSiteCode(control), siteBolt);
    EXPECT_EQ(GetSiteCode("http://\xc3\xa9\xff\xfe.example/"), siteNone);
    // Non-ASCII letters are not folded: only ASCII capitals match.
    EXPECT_EQ(GetSiteCode("http://www.\xc3\x9dOUTUBE.com/"), siteNone);

    std::mt19937 random(7);
    const std::string pieces[] = {
        "youtube", ".com", "google", "break", "blip", ".tv", "/", "\xff", std::string(1, '\0'), "A"};
    for (int i = 0; i < 2000; ++i) {
        std::string address;
        for (int j = 0; j < 8; ++j)
            address += pieces[random() % std::size(pieces)];
        const int code = GetSiteCode(address);
        EXPECT_NE(code, 7);
        EXPECT_TRUE(code == siteNone || (code >= 1 && code <= 13)) << code;
        EXPECT_EQ(code == siteNone, std::string(SiteDomain(code)).empty());
    }
}

} // namespace
} // namespace tollivex
