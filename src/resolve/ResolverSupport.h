#pragma once
// What the twelve resolvers share: the run of one resolution and the cutting
// of a value out of the page. Internal to the resolvers.

#include "resolve/TextSearch.h"

#include <optional>
#include <string>

namespace tollivex::resolve {

/// A site's own steps, over the page folded once for case-free searches.
using LinkComposer = std::string (*)(const std::string& pageAddress, const text::FoldedText& page);

/// One resolution: "" for an empty page; otherwise the composer's link passed
/// through MakeLinkSafe. Anything thrown on the way (a page too big to copy)
/// is "" too.
std::string RunResolver(LinkComposer compose, const std::string& pageAddress, const std::string& page);

/// A value cut out of a text, and where its closing delimiter stands.
struct Cut {
    std::string value;
    size_t delimiterAt = text::npos;
};

/// With a marker found at `markerAt`: the text from markerAt + valueOffset up
/// to the first `delimiter` found from markerAt + searchOffset. Nothing when
/// the marker was not found (npos), the delimiter is absent, or the value is
/// empty (an empty value can only build a link that points nowhere).
std::optional<Cut> CutAt(const text::FoldedText& text, size_t markerAt, size_t valueOffset,
                         const std::string& delimiter, size_t searchOffset);

/// CutAt for the first occurrence of `marker` at or after `from`.
std::optional<Cut> CutAfterMarker(const text::FoldedText& text, const std::string& marker, size_t valueOffset,
                                  const std::string& delimiter, size_t searchOffset, size_t from = 0);

} // namespace tollivex::resolve
