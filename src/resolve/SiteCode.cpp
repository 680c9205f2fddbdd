#include "resolve/SiteCode.h"

#include "resolve/TextSearch.h"

namespace tollivex {

namespace {
struct Site {
    const char* domain;
    int code;
};

// Tested in this order; the first match wins.
constexpr Site kSites[] = {
    {"google.com", siteGoogleVideo},
    {"youtube.com", siteYouTube},
    {"bolt.com", siteBolt},
    {"myspace.com", siteMySpace},
    {"angryalien.com", siteAngryAlien},
    {"thatvideosite.com", siteThatVideoSite},
    {"ifilm.com", siteIFilm},
    {"break.com", siteBreak},
    {"blip.tv", siteBlip},
    {"dailymotion.com", siteDailyMotion},
    {"putfile.com", sitePutFile},
    {"zippyvideos.com", siteZippyVideos},
};
} // namespace

int GetSiteCode(const std::string& pageAddress)
{
    const std::string lowered = text::ToLowerAscii(pageAddress);
    for (const Site& site : kSites) {
        if (lowered.find(site.domain) != std::string::npos)
            return site.code;
    }
    return siteNone;
}

const char* SiteDomain(int siteCode)
{
    for (const Site& site : kSites) {
        if (site.code == siteCode)
            return site.domain;
    }
    return "";
}

} // namespace tollivex
