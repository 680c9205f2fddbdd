#pragma once
// From a fetched video page to the address of the video file itself: one
// resolver per supported site, and the dispatch on the site code.
//
// Each resolver comes in two forms. The (page address, page text) form is
// pure; the page-address form reads the last fetched page from Parse.wvi
// (ReadPageFile) and applies the first. Both return the video link, or ""
// when none is found: an empty page, a missing marker or closing delimiter,
// an empty value, or any other failing step. No error leaves a resolver.
//
// Searches ignore letter case. Every link that comes back has passed
// MakeLinkSafe (LinkSafety.h): a link with a control byte is "", every other
// link comes back as the page gave it (no percent-escaping).

#include <string>

namespace tollivex {

/// Google Video (code 1): the href before "ipoddownloadlink" with "&amp;"
/// made "&"; else the percent-decoded "http..." after "videoUrl".
std::string GetGoogleVideoLink(const std::string& pageAddress, const std::string& page);
/// YouTube (code 2): the get_video request on the cache host for the video
/// identifier found after "video_id=" in the page, else after "v=" in the
/// address, else after "26v%3D" in the page.
std::string GetYouTubeLink(const std::string& pageAddress, const std::string& page);
/// Bolt (code 3): the preview image of the page's forum-code snippet, turned
/// into the movie address.
std::string GetBoltLink(const std::string& pageAddress, const std::string& page);
/// MySpace (code 4): the content-host path built from the address's videoid.
std::string GetMySpaceLink(const std::string& pageAddress, const std::string& page);
/// AngryAlien (code 5): the double-quoted embed source, when absolute.
std::string GetAngryAlienLink(const std::string& pageAddress, const std::string& page);
/// ThatVideoSite (code 6): the apostrophe-quoted embed source, when absolute.
std::string GetThatVideoSiteLink(const std::string& pageAddress, const std::string& page);
/// iFilm (code 8): the script's *url* value with "$" made "&".
std::string GetIFilmLink(const std::string& pageAddress, const std::string& page);
/// Break (code 9): media host + "/dnet/media/" + path + "/" + name + ".flv".
std::string GetBreakLink(const std::string& pageAddress, const std::string& page);
/// Blip (code 10): the permanent link's text box value, as it stands.
std::string GetBlipLink(const std::string& pageAddress, const std::string& page);
/// DailyMotion (code 11): the player's percent-decoded "url" parameter.
std::string GetDailyMotionLink(const std::string& pageAddress, const std::string& page);
/// PutFile (code 12): the first ".flv" (else ".wmv") address in the page.
std::string GetPutFileLink(const std::string& pageAddress, const std::string& page);
/// ZippyVideos (code 13): server/storage/user/video from the player's parameters.
std::string GetZippyVideosLink(const std::string& pageAddress, const std::string& page);

std::string GetGoogleVideoLink(const std::string& pageAddress);
std::string GetYouTubeLink(const std::string& pageAddress);
std::string GetBoltLink(const std::string& pageAddress);
std::string GetMySpaceLink(const std::string& pageAddress);
std::string GetAngryAlienLink(const std::string& pageAddress);
std::string GetThatVideoSiteLink(const std::string& pageAddress);
std::string GetIFilmLink(const std::string& pageAddress);
std::string GetBreakLink(const std::string& pageAddress);
std::string GetBlipLink(const std::string& pageAddress);
std::string GetDailyMotionLink(const std::string& pageAddress);
std::string GetPutFileLink(const std::string& pageAddress);
std::string GetZippyVideosLink(const std::string& pageAddress);

/// The pure form of a site's resolver.
using PageResolver = std::string (*)(const std::string& pageAddress, const std::string& page);

/// The resolver of a site code (GetSiteCode), or nullptr for a code without
/// one (-1, 7, anything else).
PageResolver ResolverFor(int siteCode);

/// Reads Parse.wvi and runs the site's resolver on it for the page address;
/// "" when the resolver finds no link or the code has no resolver.
std::string ResolveVideoLink(int siteCode, const std::string& pageAddress);

} // namespace tollivex
