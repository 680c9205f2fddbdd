#include "resolve/TextSearch.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tollivex::text {

namespace {
char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Up to this length the library's search (first byte by memchr, then a short
// compare) is faster than building a failure table, and its worst case stays
// a small constant times the text length.
constexpr size_t kShortNeedle = 8;

std::vector<size_t> KmpFailure(const std::string& needle)
{
    const size_t m = needle.size();
    std::vector<size_t> fail(m, 0);
    for (size_t i = 1, k = 0; i < m; ++i) {
        while (k > 0 && needle[i] != needle[k])
            k = fail[k - 1];
        if (needle[i] == needle[k])
            ++k;
        fail[i] = k;
    }
    return fail;
}

// One text character into a Knuth-Morris-Pratt match of `k` characters so
// far; true when the whole needle now matches.
inline bool KmpStep(char c, const std::string& needle, const std::vector<size_t>& fail, size_t& k)
{
    while (k > 0 && c != needle[k])
        k = fail[k - 1];
    if (c == needle[k])
        ++k;
    return k == needle.size();
}

// Knuth-Morris-Pratt over a text given by an accessor, so the code runs
// backwards without copying a multi-megabyte page. Returns the index (in
// accessor order) where the first match starts, or npos.
template <typename At>
size_t KmpFind(At at, size_t length, const std::string& needle)
{
    const size_t m = needle.size();
    const std::vector<size_t> fail = KmpFailure(needle);
    for (size_t i = 0, k = 0; i < length; ++i) {
        if (KmpStep(at(i), needle, fail, k))
            return i + 1 - m;
    }
    return npos;
}

size_t FindForward(const std::string& text, const std::string& needle, size_t from)
{
    if (from > text.size())
        return npos;
    if (needle.size() <= kShortNeedle)
        return text.find(needle, from);
    // Knuth-Morris-Pratt forwards; with no partial match under way, the text
    // up to the needle's next first byte cannot start one and is skipped by
    // memchr. Each byte is still looked at a bounded number of times.
    const size_t m = needle.size();
    const std::vector<size_t> fail = KmpFailure(needle);
    const char* const data = text.data();
    const size_t length = text.size();
    for (size_t i = from, k = 0; i < length; ++i) {
        if (k == 0) {
            const void* next = std::memchr(data + i, needle[0], length - i);
            if (!next)
                return npos;
            i = static_cast<size_t>(static_cast<const char*>(next) - data);
        }
        if (KmpStep(data[i], needle, fail, k))
            return i + 1 - m;
    }
    return npos;
}

// Last occurrence lying wholly in text[0, end) that starts before `before`.
size_t FindBackward(const std::string& text, const std::string& needle, size_t before)
{
    const size_t m = needle.size();
    before = std::min(before, text.size());
    if (m == 0 || before == 0 || m > text.size())
        return npos;
    if (m <= kShortNeedle)
        return text.rfind(needle, before - 1);
    // The occurrence must end by `limit`; search the reversed prefix for the
    // reversed needle, whose first match is the rightmost occurrence.
    const size_t limit = std::min(text.size(), before - 1 + m);
    const std::string reversed(needle.rbegin(), needle.rend());
    const size_t hit = KmpFind([&](size_t i) { return text[limit - 1 - i]; }, limit, reversed);
    return hit == npos ? npos : limit - hit - m;
}
} // namespace

std::string ToLowerAscii(const std::string& s)
{
    std::string out(s);
    for (char& c : out)
        c = FoldAscii(c);
    return out;
}

FoldedText::FoldedText(const std::string& original) : original_(original), folded_(ToLowerAscii(original)) {}

size_t FoldedText::Find(const std::string& needle, size_t from) const
{
    return FindForward(folded_, ToLowerAscii(needle), from);
}

size_t FoldedText::FindLastBefore(const std::string& needle, size_t before) const
{
    return FindBackward(folded_, ToLowerAscii(needle), before);
}

bool FoldedText::CutUntil(size_t start, const std::string& delimiter, size_t searchFrom, std::string& value) const
{
    if (start > original_.size())
        return false;
    const size_t end = Find(delimiter, searchFrom);
    if (end == npos || end < start)
        return false;
    value = original_.substr(start, end - start);
    return true;
}

bool ContainsNoCase(const std::string& haystack, const std::string& needle)
{
    return FindForward(ToLowerAscii(haystack), ToLowerAscii(needle), 0) != npos;
}

std::string ReplaceAllNoCase(const std::string& s, const std::string& from, const std::string& to)
{
    if (from.empty())
        return s;
    const std::string folded = ToLowerAscii(s);
    const std::string needle = ToLowerAscii(from);
    std::string out;
    out.reserve(s.size());
    size_t pos = 0;
    for (size_t hit = FindForward(folded, needle, 0); hit != npos; hit = FindForward(folded, needle, pos)) {
        out.append(s, pos, hit - pos);
        out += to;
        pos = hit + from.size();
    }
    out.append(s, pos, std::string::npos);
    return out;
}

} // namespace tollivex::text
