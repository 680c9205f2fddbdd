#include "scheduler/FinishNotices.h"

namespace tollivex {

bool NotifyOfEnd(const WindowPresence& window, ItemEnd end)
{
    const bool away = !window.visible || window.minimized || !window.active;
    return away && end != ItemEnd::Other;
}

std::string SummaryText(int complete, int failed)
{
    const auto videos = [](int n) { return std::to_string(n) + (n == 1 ? " video" : " videos"); };
    if (complete == 0)
        return videos(failed) + " failed";
    std::string text = videos(complete) + " complete";
    if (failed > 0)
        text += ", " + std::to_string(failed) + " failed";
    return text;
}

void AwayTally::Count(ItemEnd end)
{
    if (end == ItemEnd::Complete)
        ++complete_;
    else if (end == ItemEnd::Failed)
        ++failed_;
}

} // namespace tollivex
