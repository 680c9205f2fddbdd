#include "scheduler/TransferRate.h"

#include "queue/TextHelpers.h"

#include <cmath>

namespace tollivex {

namespace {
constexpr double kSampleSeconds = 0.5;
constexpr double kShortestSpan = 1.0;
} // namespace

std::string TimeLeftText(double seconds)
{
    long total = std::lround(std::ceil(seconds));
    if (total < 60) {
        // Below ten seconds every second counts; above, steps of five keep it from flickering.
        if (total >= 10)
            total = std::lround(static_cast<double>(total) / 5.0) * 5;
        return "about " + std::to_string(total < 1 ? 1 : total) + " s left";
    }
    const long minutes = std::lround(seconds / 60.0);
    if (minutes < 60)
        return "about " + std::to_string(minutes) + " min left";
    const long hours = minutes / 60;
    const long rest = minutes % 60;
    return "about " + std::to_string(hours) + " h" + (rest ? " " + std::to_string(rest) + " min" : "") + " left";
}

std::string RateText(const std::deque<TimedBytes>& samples, double announced)
{
    if (samples.size() < 2)
        return {};
    const TimedBytes& newest = samples.back();
    // The oldest sample in the window; the one before it when the window holds
    // too little (nothing arrived for a while).
    size_t first = 0;
    while (samples[first].seconds < newest.seconds - kRateWindowSeconds)
        ++first;
    if (first > 0 && newest.seconds - samples[first].seconds < kShortestSpan)
        --first;
    const TimedBytes* base = &samples[first];
    const double span = newest.seconds - base->seconds;
    if (span < kShortestSpan || newest.bytes < base->bytes)
        return {};
    const double perSecond = static_cast<double>(newest.bytes - base->bytes) / span;
    std::string speed = FormatFileSize(static_cast<float>(perSecond)) + "/s";
    const double left = announced - static_cast<double>(newest.bytes);
    if (announced <= 0 || left <= 0 || perSecond <= 0)
        return speed;
    return speed + ", " + TimeLeftText(left / perSecond);
}

bool TransferRate::Add(double seconds, std::int64_t bytes, double announced)
{
    if (!samples_.empty() && (bytes < samples_.back().bytes || seconds < samples_.back().seconds))
        Reset();
    if (!samples_.empty() && seconds - samples_.back().seconds < kSampleSeconds)
        return false;
    samples_.push_back({seconds, bytes});
    // The last sample before the window stays, for when the window holds too little.
    while (samples_.size() > 1 && samples_[1].seconds <= seconds - kRateWindowSeconds)
        samples_.pop_front();
    text_ = RateText(samples_, announced);
    return true;
}

void TransferRate::Reset()
{
    samples_.clear();
    text_.clear();
}

} // namespace tollivex
