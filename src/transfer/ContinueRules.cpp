#include "transfer/ContinueRules.h"

#include "platform/internet/HttpText.h"

namespace tollivex {

namespace {
constexpr int kWholeFile = 200;
constexpr int kPartOfFile = 206;

std::optional<std::int64_t> NumberIn(std::string_view text) { return platform::PlainLength(text); }
} // namespace

std::optional<ContentRange> ParseContentRange(std::string_view value)
{
    constexpr std::string_view kUnit = "bytes ";
    if (value.substr(0, kUnit.size()) != kUnit)
        return std::nullopt;
    value.remove_prefix(kUnit.size());
    const auto dash = value.find('-');
    const auto slash = value.find('/');
    if (dash == std::string_view::npos || slash == std::string_view::npos || dash > slash)
        return std::nullopt;
    const auto first = NumberIn(value.substr(0, dash));
    const auto last = NumberIn(value.substr(dash + 1, slash - dash - 1));
    const auto total = NumberIn(value.substr(slash + 1));
    if (!first || !last || !total || *first > *last || *last >= *total)
        return std::nullopt;
    return ContentRange{*first, *last, *total};
}

std::string ValidatorOf(const std::optional<std::string>& etag, const std::optional<std::string>& lastModified)
{
    // A weak ETag names a version only loosely; a range of it may be of another.
    if (etag && !etag->empty() && etag->compare(0, 2, "W/") != 0)
        return *etag;
    if (lastModified && !lastModified->empty())
        return *lastModified;
    return {};
}

bool MayAskForRest(std::int64_t kept, const std::string& validator, double announcedSize)
{
    return kept > 0 && !validator.empty() && (announcedSize <= 0 || static_cast<double>(kept) < announcedSize);
}

RangeAnswer JudgeRangeAnswer(int status, const std::optional<std::string>& contentRange,
                             const std::string& answerValidator, std::int64_t kept, const std::string& validator,
                             double announcedSize)
{
    if (status == kWholeFile)
        return RangeAnswer::StartOver;
    if (status != kPartOfFile || !contentRange || answerValidator != validator)
        return RangeAnswer::AskWhole;
    const auto range = ParseContentRange(*contentRange);
    if (!range || range->first != kept)
        return RangeAnswer::AskWhole;
    if (announcedSize > 0 && static_cast<double>(range->total) != announcedSize)
        return RangeAnswer::AskWhole;
    return RangeAnswer::Append;
}

} // namespace tollivex
