// Random page texts and addresses through all twelve resolvers, the
// percent-decoder and the site recognition. Beyond not crashing, every result
// must keep the promises the download run relies on: no byte that could
// break a request line, a file name that stays inside the download folder,
// and decoded addresses within their limit.

#include "resolve/LinkSafety.h"
#include "resolve/SiteCode.h"
#include "resolve/TextSearch.h"
#include "resolve/UnescapeUrl.h"
#include "resolve/VideoLinks.h"
#include "scheduler/FileNames.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using namespace tollivex;

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// A link keeps spaces and bytes of 0x80 and above as the page gave them (the
// internet layer escapes every request itself) but never holds a control
// byte, which would split or cut the request line.
void RequireSafeLink(const std::string& link)
{
    for (const char c : link)
        Require(!IsControlByte(c));
    Require(MakeLinkSafe(link) == link);
}

// The name a video is saved under: never empty or only dots and blanks, no
// path separator, control byte or other character a file system refuses.
void RequirePlainName(const std::string& name)
{
    Require(name.find_first_not_of(". ") != std::string::npos);
    for (const char c : name)
        Require(!IsControlByte(c) && std::strchr("\\/:*?\"<>|&", c) == nullptr);
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

    // Every site's resolver, as the run dispatches to it.
    for (int site = siteGoogleVideo; site <= siteZippyVideos; ++site) {
        const PageResolver resolve = ResolverFor(site);
        if (!resolve)
            continue;
        const std::string link = resolve(address, page);
        RequireSafeLink(link);
        // Named by the link alone, or by what the server called the file.
        RequirePlainName(DeriveLocalFileName(link, "", site));
        RequirePlainName(DeriveLocalFileName(link, address, site));
    }

    const std::string decoded = UnescapeUrl(page);
    Require(decoded.size() <= kMaxUnescapedLength);
    for (const char c : decoded)
        Require(!IsControlByte(c));

    const int code = GetSiteCode(address);
    Require(code == siteNone || (code >= 1 && code <= 13 && code != 7));

    CheckSearches(page, address, address.size() % (page.size() + 2));
    return 0;
}
