// Random page texts and addresses through all twelve resolvers, the
// percent-decoder and the site recognition. Beyond not crashing, every result
// must keep the promises the download run relies on: no byte that could
// break a request line, and decoded addresses within their limit.

#include "resolve/LinkSafety.h"
#include "resolve/SiteCode.h"
#include "resolve/TextSearch.h"
#include "resolve/UnescapeUrl.h"
#include "resolve/VideoLinks.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace tollivex;

constexpr PageResolver kResolvers[] = {
    GetGoogleVideoLink, GetYouTubeLink, GetBoltLink,   GetMySpaceLink,     GetAngryAlienLink, GetThatVideoSiteLink,
    GetIFilmLink,       GetBreakLink,   GetBlipLink,   GetDailyMotionLink, GetPutFileLink,    GetZippyVideosLink,
};

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

void RequireSafeLink(const std::string& link)
{
    for (const char c : link) {
        const auto byte = static_cast<unsigned char>(c);
        Require(!IsControlByte(c) && byte != ' ' && byte < 0x80);
    }
}

// The linear searches against their plain definition, on short texts.
void CheckSearches(const std::string& text, const std::string& needle, size_t from)
{
    if (text.size() > 256 || needle.empty() || needle.size() > 32)
        return;
    const text::FoldedText folded(text);
    const std::string lowText = text::ToLowerAscii(text), lowNeedle = text::ToLowerAscii(needle);
    size_t first = text::npos, last = text::npos;
    for (size_t i = 0; i + lowNeedle.size() <= lowText.size(); ++i) {
        if (lowText.compare(i, lowNeedle.size(), lowNeedle) != 0)
            continue;
        if (i >= from && first == text::npos)
            first = i;
        if (i < from)
            last = i;
    }
    Require(folded.Find(needle, from) == first);
    Require(folded.FindLastBefore(needle, from) == last);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string address = input.ConsumeRandomLengthString(4096);
    const std::string page = input.ConsumeRemainingBytesAsString();

    for (const PageResolver resolve : kResolvers)
        RequireSafeLink(resolve(address, page));

    const std::string decoded = UnescapeUrl(page);
    Require(decoded.size() <= kMaxUnescapedLength);
    for (const char c : decoded)
        Require(!IsControlByte(c));

    const int code = GetSiteCode(address);
    Require(code == siteNone || (code >= 1 && code <= 13 && code != 7));

    CheckSearches(page, address, address.size() % (page.size() + 2));
    return 0;
}
