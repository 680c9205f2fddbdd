// Resolvers of the sites whose pages carry the video file's address itself:
// it is cut out and returned as it stands, or with the site's one rewrite.

#include "resolve/ResolverSupport.h"
#include "resolve/UnescapeUrl.h"
#include "resolve/VideoLinks.h"

namespace tollivex {

using resolve::CutAfterMarker;
using resolve::CutAt;
using text::FoldedText;
using text::npos;

namespace {

// An embed source given as a relative address would be fetched from nowhere.
std::string AbsoluteOnly(const std::optional<resolve::Cut>& source)
{
    return source && text::ContainsNoCase(source->value, "http") ? source->value : std::string();
}

std::string ComposeAngryAlienLink(const std::string&, const FoldedText& page)
{
    return AbsoluteOnly(CutAfterMarker(page, "<embed src=\"", 12, "\"", 12));
}

std::string ComposeThatVideoSiteLink(const std::string&, const FoldedText& page)
{
    return AbsoluteOnly(CutAfterMarker(page, "<embed src='", 12, "'", 12));
}

std::string ComposeIFilmLink(const std::string&, const FoldedText& page)
{
    // The value starts at the marker's "http://"; the script writes "&" as "$".
    const auto value = CutAfterMarker(page, "*url* : *http://", 9, "*,", 0);
    if (!value)
        return std::string();
    std::string link = value->value;
    for (char& c : link) {
        if (c == '$')
            c = '&';
    }
    return link;
}

std::string ComposeBlipLink(const std::string&, const FoldedText& page)
{
    static const std::string kPermalinkBox = "readonly=\"readonly\" type=\"text\" class=\"permalink_input\" value=\"";
    // The closing quote is looked for from the value's tenth character on.
    const auto value = CutAfterMarker(page, kPermalinkBox, kPermalinkBox.size(), "\"", kPermalinkBox.size() + 9);
    return value ? value->value : std::string();
}

std::string ComposeDailyMotionLink(const std::string&, const FoldedText& page)
{
    // addVariable("url", "...": the separator and the opening quote are skipped
    // whatever they are.
    const auto value = CutAfterMarker(page, "addVariable(\"url\",", 20, "\"", 20);
    return value ? UnescapeUrl(value->value) : std::string();
}

std::string ComposePutFileLink(const std::string&, const FoldedText& page)
{
    size_t extension = page.Find(".flv");
    if (extension == npos)
        extension = page.Find(".wmv");
    // The "http" must end before the extension starts.
    if (extension == npos || extension < 4)
        return std::string();
    const size_t scheme = page.FindLastBefore("http", extension - 3);
    if (scheme == npos)
        return std::string();
    return page.Original().substr(scheme, extension + 4 - scheme);
}

} // namespace

std::string GetAngryAlienLink(const std::string& pageAddress, const std::string& page)
{
    return resolve::RunResolver(ComposeAngryAlienLink, pageAddress, page);
}

std::string GetThatVideoSiteLink(const std::string& pageAddress, const std::string& page)
{
    return resolve::RunResolver(ComposeThatVideoSiteLink, pageAddress, page);
}

std::string GetIFilmLink(const std::string& pageAddress, const std::string& page)
{
    return resolve::RunResolver(ComposeIFilmLink, pageAddress, page);
}

std::string GetBlipLink(const std::string& pageAddress, const std::string& page)
{
    return resolve::RunResolver(ComposeBlipLink, pageAddress, page);
}

std::string GetDailyMotionLink(const std::string& pageAddress, const std::string& page)
{
    return resolve::RunResolver(ComposeDailyMotionLink, pageAddress, page);
}

std::string GetPutFileLink(const std::string& pageAddress, const std::string& page)
{
    return resolve::RunResolver(ComposePutFileLink, pageAddress, page);
}

} // namespace tollivex
