#include "resolve/ResolverSupport.h"

#include "resolve/LinkSafety.h"

namespace tollivex::resolve {

std::string RunResolver(LinkComposer compose, const std::string& pageAddress, const std::string& page)
{
    if (page.empty())
        return std::string();
    try {
        const text::FoldedText folded(page);
        return MakeLinkSafe(compose(pageAddress, folded));
    } catch (...) {
        return std::string();
    }
}

std::optional<Cut> CutAt(const text::FoldedText& text, size_t markerAt, size_t valueOffset,
                         const std::string& delimiter, size_t searchOffset)
{
    if (markerAt == text::npos || markerAt > text.Size())
        return std::nullopt;
    const size_t start = markerAt + valueOffset;
    const size_t searchFrom = markerAt + searchOffset;
    if (start > text.Size() || searchFrom > text.Size())
        return std::nullopt;
    Cut cut;
    if (!text.CutUntil(start, delimiter, searchFrom, cut.value) || cut.value.empty())
        return std::nullopt;
    cut.delimiterAt = start + cut.value.size();
    return cut;
}

std::optional<Cut> CutAfterMarker(const text::FoldedText& text, const std::string& marker, size_t valueOffset,
                                  const std::string& delimiter, size_t searchOffset, size_t from)
{
    return CutAt(text, text.Find(marker, from), valueOffset, delimiter, searchOffset);
}

} // namespace tollivex::resolve
