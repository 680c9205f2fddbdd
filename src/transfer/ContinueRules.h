#pragma once
// When a transfer may continue the bytes an earlier attempt left, and what
// the server's answer to a range request allows. Bytes of two versions of a
// file are never joined: the range is asked for with the version's
// validator, and an answer is appended only when it is exactly the rest of
// that version. Pure rules, no network.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tollivex {

/// A Content-Range header's "bytes first-last/total".
struct ContentRange {
    std::int64_t first = 0;
    std::int64_t last = 0;
    std::int64_t total = 0;
};
/// Nothing for anything but a complete, consistent byte range with a known total.
std::optional<ContentRange> ParseContentRange(std::string_view value);

/// The version of an answer's file: its ETag when that is a strong one, else
/// its Last-Modified; "" when it names neither.
std::string ValidatorOf(const std::optional<std::string>& etag, const std::optional<std::string>& lastModified);

/// Whether kept bytes are worth a range request: there are some, their
/// version is known, and they are fewer than the announced size (-1: unknown).
bool MayAskForRest(std::int64_t kept, const std::string& validator, double announcedSize);

/// What to do with the answer to a request for the rest of a file.
enum class RangeAnswer {
    Append,    // 206: exactly the rest of the same version
    StartOver, // 200: the whole file; write it from byte 0
    AskWhole,  // anything else: ask again for the whole file
};

/// Judges the answer (`status`, its Content-Range and its validator) to a
/// request for the bytes from `kept` on of the version `validator`. The total
/// must equal `announcedSize` when the information request gave one (> 0).
RangeAnswer JudgeRangeAnswer(int status, const std::optional<std::string>& contentRange,
                             const std::string& answerValidator, std::int64_t kept, const std::string& validator,
                             double announcedSize);

} // namespace tollivex
