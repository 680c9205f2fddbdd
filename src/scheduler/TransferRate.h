#pragma once
// How fast the video transfer goes and about how long it has left, from the
// byte counts seen at known times. Only the last few seconds count, so a
// transfer that slows down or speeds up shows it at once. Windowless.

#include <cstdint>
#include <deque>
#include <string>

namespace tollivex {

/// The bytes received so far at a moment (seconds on any steady clock).
struct TimedBytes {
    double seconds = 0;
    std::int64_t bytes = 0;
};

/// The seconds of samples the speed is measured over, ending at the newest.
inline constexpr double kRateWindowSeconds = 5.0;

/// "2.3 MB/s, about 40 s left" over the samples of the last kRateWindowSeconds
/// (oldest first); only the speed when the size is unknown (`announced` <= 0),
/// already reached, or nothing arrives. "" until the samples span a second.
std::string RateText(const std::deque<TimedBytes>& samples, double announced);

/// "about 40 s left", "about 12 min left", "about 2 h 5 min left".
std::string TimeLeftText(double seconds);

/// The samples of one transfer and their text. A sample is taken at most
/// twice a second, so the progress handler's 2 KiB steps cost next to nothing.
class TransferRate {
public:
    /// Takes the count seen at `seconds`; false when it was too soon after the
    /// last sample to count. Fewer bytes than before start a new transfer.
    bool Add(double seconds, std::int64_t bytes, double announced);
    const std::string& Text() const { return text_; }
    void Reset();

private:
    std::deque<TimedBytes> samples_;
    std::string text_;
};

} // namespace tollivex
