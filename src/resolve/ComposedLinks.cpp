// Resolvers of the sites whose pages (or addresses) give only pieces of the
// video file's address: the link is built from them.

#include "queue/TextHelpers.h"
#include "resolve/LinkHosts.h"
#include "resolve/ResolverSupport.h"
#include "resolve/VideoLinks.h"

#include <string>

namespace tollivex {

using resolve::CutAfterMarker;
using text::FoldedText;
using text::npos;

namespace {

std::string ComposeBoltLink(const std::string& pageAddress, const FoldedText& page)
{
    // The page's forum-code snippet links its preview image back to the page:
    // [url=<page address>][IMG]<image address>[/IMG]
    const std::string marker = "Value=\"[url=" + pageAddress + "][IMG]";
    const auto image = CutAfterMarker(page, marker, marker.size(), "[/IMG]", marker.size());
    if (!image)
        return std::string();
    // The movie shares the image's name up to its last "_" (a size suffix),
    // or up to its extension.
    std::string movie = image->value;
    const size_t suffix = movie.rfind('_');
    const size_t tail = suffix != npos ? suffix : movie.rfind('.');
    if (tail != npos)
        movie.erase(tail);
    if (movie.empty())
        return std::string();
    movie = text::ReplaceAllNoCase(movie, "/image/", "/movie/");
    if (!text::ContainsNoCase(movie, ".flv"))
        movie += ".flv";
    return movie;
}

std::string ComposeMySpaceLink(const std::string& pageAddress, const FoldedText&)
{
    // The content host files a video under directories derived from its
    // identifier: the leading characters, then the last four in pairs, reversed.
    // Counted in characters, so none is ever split.
    const size_t key = FoldedText(pageAddress).Find("videoid=");
    if (key == npos)
        return std::string();
    const std::string id = pageAddress.substr(key + 8);
    const size_t n = CharacterCount(id);
    if (n < 5)
        return std::string();
    std::string leading(n - 5 < 7 ? 7 - (n - 5) : 0, '0');
    leading += FirstCharacters(id, n - 5);
    // The character `place` places from the identifier's end (1 is the last).
    const auto fromEnd = [&id](size_t place) { return FirstCharacters(LastCharacters(id, place), 1); };
    const std::string last = fromEnd(1) + fromEnd(2);
    const std::string before = fromEnd(3) + fromEnd(4);
    return std::string("http://") + kMySpaceContentHost + "/" + leading + "/" + last + "/" + before + "/" + id + ".flv";
}

std::string ComposeBreakLink(const std::string&, const FoldedText& page)
{
    // The closing apostrophe is looked for from the name's second character on.
    const auto name = CutAfterMarker(page, "sGlobalFileName='", 17, "'", 18);
    if (!name)
        return std::string();
    const auto path = CutAfterMarker(page, "sGlobalContentFilePath='", 24, "'", 24, name->delimiterAt);
    if (!path)
        return std::string();
    return std::string("http://") + kBreakMediaHost + "/dnet/media/" + path->value + "/" + name->value + ".flv";
}

std::string ComposeZippyVideosLink(const std::string&, const FoldedText& page)
{
    // Each parameter is looked for from the beginning of the page.
    const auto storage = CutAfterMarker(page, "storageId=", 10, "&", 0);
    const auto user = CutAfterMarker(page, "userName=", 9, "&", 0);
    const auto video = CutAfterMarker(page, "videoId=", 8, "&", 0);
    const auto server = CutAfterMarker(page, "srvURL=", 7, "'", 0);
    if (!storage || !user || !video || !server)
        return std::string();
    return server->value + "/" + storage->value + "/" + user->value + "/" + video->value;
}

} // namespace

std::string GetBoltLink(const std::string& pageAddress, const std::string& page)
{
    return resolve::RunResolver(ComposeBoltLink, pageAddress, page);
}

std::string GetMySpaceLink(const std::string& pageAddress, const std::string& page)
{
    return resolve::RunResolver(ComposeMySpaceLink, pageAddress, page);
}

std::string GetBreakLink(const std::string& pageAddress, const std::string& page)
{
    return resolve::RunResolver(ComposeBreakLink, pageAddress, page);
}

std::string GetZippyVideosLink(const std::string& pageAddress, const std::string& page)
{
    return resolve::RunResolver(ComposeZippyVideosLink, pageAddress, page);
}

} // namespace tollivex
