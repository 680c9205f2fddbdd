// The two resolvers of the Google sites: Google Video takes the link from the
// page, YouTube only finds the video's identifier and asks the cache host.

#include "resolve/LinkHosts.h"
#include "resolve/ResolverSupport.h"
#include "resolve/UnescapeUrl.h"
#include "resolve/VideoLinks.h"

namespace tollivex {

using resolve::CutAfterMarker;
using resolve::CutAt;
using text::FoldedText;
using text::npos;

namespace {

std::string ComposeGoogleVideoLink(const std::string&, const FoldedText& page)
{
    // The download link the page offers for portable players is the file
    // itself; the player's address is the fallback.
    const size_t download = page.Find("ipoddownloadlink");
    if (download != npos) {
        // href="value": the value starts after the opening quote, and the
        // closing one is looked for from the value's second character on.
        const auto href = CutAt(page, page.FindLastBefore("href=", download), 6, "\"", 7);
        return href ? text::ReplaceAllNoCase(href->value, "&amp;", "&") : std::string();
    }
    const size_t player = page.Find("videoUrl");
    if (player == npos)
        return std::string();
    const auto link = CutAfterMarker(page, "http", 0, "\"", 0, player);
    return link ? UnescapeUrl(link->value) : std::string();
}

// The identifier in the address, after the first "v=" up to the next "&" or
// the end; nothing when the address has no "v=".
std::optional<std::string> IdentifierInAddress(const std::string& pageAddress)
{
    const FoldedText address(pageAddress);
    const size_t key = address.Find("v=");
    if (key == npos)
        return std::nullopt;
    const size_t end = address.Find("&", key);
    return pageAddress.substr(key + 2, end == npos ? npos : end - (key + 2));
}

std::string ComposeYouTubeLink(const std::string& pageAddress, const FoldedText& page)
{
    std::string identifier;
    const size_t inPage = page.Find("video_id=");
    if (inPage != npos) {
        // The page names the video: an unterminated value is no identifier,
        // and the address is not consulted then.
        const auto cut = CutAt(page, inPage, 9, "&", 0);
        if (!cut)
            return std::string();
        identifier = cut->value;
    } else {
        const auto inAddress = IdentifierInAddress(pageAddress);
        if (inAddress) {
            identifier = *inAddress;
        } else {
            // The end of an escaped "&v=" inside the player's parameters.
            const auto escaped = CutAfterMarker(page, "26v%3D", 6, "\"", 0);
            if (!escaped)
                return std::string();
            identifier = escaped->value;
        }
    }
    if (identifier.empty())
        return std::string();
    return std::string("http://") + kGoogleVideoCacheHost + "/get_video?video_id=" + identifier;
}

} // namespace

std::string GetGoogleVideoLink(const std::string& pageAddress, const std::string& page)
{
    return resolve::RunResolver(ComposeGoogleVideoLink, pageAddress, page);
}

std::string GetYouTubeLink(const std::string& pageAddress, const std::string& page)
{
    return resolve::RunResolver(ComposeYouTubeLink, pageAddress, page);
}

} // namespace tollivex
