// The site-code table of resolvers, and the forms that read the fetched page.

#include "resolve/PageFile.h"
#include "resolve/SiteCode.h"
#include "resolve/VideoLinks.h"

namespace tollivex {

namespace {
struct SiteResolver {
    int code;
    PageResolver resolve;
};

constexpr SiteResolver kResolvers[] = {
    {siteGoogleVideo, GetGoogleVideoLink},
    {siteYouTube, GetYouTubeLink},
    {siteBolt, GetBoltLink},
    {siteMySpace, GetMySpaceLink},
    {siteAngryAlien, GetAngryAlienLink},
    {siteThatVideoSite, GetThatVideoSiteLink},
    {siteIFilm, GetIFilmLink},
    {siteBreak, GetBreakLink},
    {siteBlip, GetBlipLink},
    {siteDailyMotion, GetDailyMotionLink},
    {sitePutFile, GetPutFileLink},
    {siteZippyVideos, GetZippyVideosLink},
};

std::string ResolveFetchedPage(PageResolver resolve, const std::string& pageAddress)
{
    return resolve(pageAddress, ReadPageFile());
}
} // namespace

PageResolver ResolverFor(int siteCode)
{
    for (const SiteResolver& entry : kResolvers) {
        if (entry.code == siteCode)
            return entry.resolve;
    }
    return nullptr;
}

std::string ResolveVideoLink(int siteCode, const std::string& pageAddress)
{
    const PageResolver resolve = ResolverFor(siteCode);
    return resolve ? ResolveFetchedPage(resolve, pageAddress) : std::string();
}

// Each of these is the site's resolver over the page last fetched into Parse.wvi.
// clang-format off
std::string GetGoogleVideoLink(const std::string& a) { return ResolveFetchedPage(GetGoogleVideoLink, a); }
std::string GetYouTubeLink(const std::string& a) { return ResolveFetchedPage(GetYouTubeLink, a); }
std::string GetBoltLink(const std::string& a) { return ResolveFetchedPage(GetBoltLink, a); }
std::string GetMySpaceLink(const std::string& a) { return ResolveFetchedPage(GetMySpaceLink, a); }
std::string GetAngryAlienLink(const std::string& a) { return ResolveFetchedPage(GetAngryAlienLink, a); }
std::string GetThatVideoSiteLink(const std::string& a) { return ResolveFetchedPage(GetThatVideoSiteLink, a); }
std::string GetIFilmLink(const std::string& a) { return ResolveFetchedPage(GetIFilmLink, a); }
std::string GetBreakLink(const std::string& a) { return ResolveFetchedPage(GetBreakLink, a); }
std::string GetBlipLink(const std::string& a) { return ResolveFetchedPage(GetBlipLink, a); }
std::string GetDailyMotionLink(const std::string& a) { return ResolveFetchedPage(GetDailyMotionLink, a); }
std::string GetPutFileLink(const std::string& a) { return ResolveFetchedPage(GetPutFileLink, a); }
std::string GetZippyVideosLink(const std::string& a) { return ResolveFetchedPage(GetZippyVideosLink, a); }
// clang-format on

} // namespace tollivex
