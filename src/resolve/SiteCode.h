#pragma once
// Which supported site a page address belongs to.

#include <string>

namespace tollivex {

/// Site codes; 7 belongs to no site and is never returned.
enum SiteCode : int {
    siteNone = -1,
    siteGoogleVideo = 1,
    siteYouTube = 2,
    siteBolt = 3,
    siteMySpace = 4,
    siteAngryAlien = 5,
    siteThatVideoSite = 6,
    siteIFilm = 8,
    siteBreak = 9,
    siteBlip = 10,
    siteDailyMotion = 11,
    sitePutFile = 12,
    siteZippyVideos = 13,
};

/// The code of the first site whose domain name occurs anywhere in the
/// address, ignoring case, in the fixed order Google Video, YouTube, Bolt,
/// MySpace, AngryAlien, ThatVideoSite, iFilm, Break, Blip, DailyMotion,
/// PutFile, ZippyVideos; -1 when none does.
int GetSiteCode(const std::string& pageAddress);

/// The registered domain name a site code is recognised by ("" for none).
const char* SiteDomain(int siteCode);

} // namespace tollivex
