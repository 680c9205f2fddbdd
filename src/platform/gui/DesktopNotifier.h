#pragma once
// Desktop notifications: short messages the desktop shows beside every
// window, through its notification service (org.freedesktop.Notifications on
// the session bus). Clicking one is reported back. Without a service nothing
// is shown and nothing fails.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tollivex::platform {

/// What a notification tells, for the desktop to file and sound it.
enum class NoticeKind { Complete, Failed, Summary };

class DesktopNotifier {
public:
    virtual ~DesktopNotifier() = default;

    /// Asks the desktop to show a notification in place of the one numbered
    /// `replaces` (0 for none), and returns at once with its number; 0 when
    /// there is no session bus to ask.
    virtual std::uint32_t Show(const std::string& title, const std::string& body, NoticeKind kind,
                               std::uint32_t replaces) = 0;
    /// Takes a notification away (one already gone is left alone).
    virtual void Close(std::uint32_t notice) = 0;
    /// Receives the number of a notification the user clicked.
    virtual void SetClickHandler(std::function<void(std::uint32_t notice)> handler) = 0;
};

/// The notifier of the desktop's session bus.
std::unique_ptr<DesktopNotifier> CreateDesktopNotifier();

} // namespace tollivex::platform
