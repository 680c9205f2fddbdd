#pragma once
// Search-and-cut helpers shared by site recognition and the resolvers. All
// positions are 0-based byte offsets; npos means "not found". Searches that
// ignore case fold ASCII letters only, as the page text is bytes.
//
// Every search is linear in the text: pages are several megabytes and come
// from the network, so a page built to defeat a naive search must not stall
// the download run.

#include <string>

namespace tollivex::text {

inline constexpr size_t npos = std::string::npos;

std::string ToLowerAscii(const std::string& s);

/// A page (or address) prepared for repeated case-insensitive searches: it is
/// folded once, so each search is one linear pass. It refers to the original
/// text, which must outlive it.
class FoldedText {
public:
    explicit FoldedText(const std::string& original);
    FoldedText(std::string&&) = delete;

    const std::string& Original() const { return original_; }
    size_t Size() const { return original_.size(); }

    /// First occurrence of the needle starting at or after `from`, ignoring case.
    size_t Find(const std::string& needle, size_t from = 0) const;
    /// Last occurrence of the needle that starts before `before` (and lies
    /// within the text), ignoring case.
    size_t FindLastBefore(const std::string& needle, size_t before) const;
    /// True when the needle occurs anywhere, ignoring case.
    bool Contains(const std::string& needle) const { return Find(needle) != npos; }
    /// The original text from `start` up to (not including) the first
    /// occurrence of `delimiter` at or after `searchFrom`; false when the
    /// delimiter is absent, lies before `start`, or the positions lie outside
    /// the text.
    bool CutUntil(size_t start, const std::string& delimiter, size_t searchFrom, std::string& value) const;

private:
    const std::string& original_;
    std::string folded_;
};

/// True when `needle` occurs anywhere in `haystack`, ignoring case.
bool ContainsNoCase(const std::string& haystack, const std::string& needle);

/// Every occurrence of `from` (ignoring case) replaced by `to`, scanning left
/// to right without re-reading replaced text.
std::string ReplaceAllNoCase(const std::string& s, const std::string& from, const std::string& to);

} // namespace tollivex::text
