#pragma once
// When the end of an item is worth a desktop notification, and the summary
// of a run that ended several items while the window was away. Windowless.

#include <string>

namespace tollivex {

/// The main window as the user sees it.
struct WindowPresence {
    bool visible = false;
    bool minimized = false;
    bool active = false;
};

/// How an item left the run.
enum class ItemEnd { Complete, Failed, Other };

/// True for an item that ended "Complete" or "ERROR" while the window was
/// hidden, minimised or not the active one: the user cannot see its row.
bool NotifyOfEnd(const WindowPresence& window, ItemEnd end);

/// "3 videos complete, 1 failed", "1 video complete", "2 videos failed".
std::string SummaryText(int complete, int failed);

/// The items of one run that ended while the window was away.
class AwayTally {
public:
    void Count(ItemEnd end);
    /// True when more than one item ended while away: one summary then
    /// replaces their separate notifications.
    bool NeedsSummary() const { return complete_ + failed_ > 1; }
    std::string Summary() const { return SummaryText(complete_, failed_); }
    void Clear() { complete_ = failed_ = 0; }

private:
    int complete_ = 0;
    int failed_ = 0;
};

} // namespace tollivex
