#include "resolve/TextSearch.h"

namespace tollivex::text {

namespace {
char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
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
    if (from > folded_.size())
        return npos;
    return folded_.find(ToLowerAscii(needle), from);
}

size_t FoldedText::FindLastBefore(const std::string& needle, size_t before) const
{
    if (needle.empty() || before == 0)
        return npos;
    // rfind's position is the last allowed start.
    return folded_.rfind(ToLowerAscii(needle), before - 1);
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
    return ToLowerAscii(haystack).find(ToLowerAscii(needle)) != std::string::npos;
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
    for (size_t hit = folded.find(needle); hit != std::string::npos; hit = folded.find(needle, pos)) {
        out.append(s, pos, hit - pos);
        out += to;
        pos = hit + from.size();
    }
    out.append(s, pos, std::string::npos);
    return out;
}

} // namespace tollivex::text
