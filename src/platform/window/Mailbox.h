#pragma once
// The mailbox the clipboard watcher delivers into (txtMonitor): a text whose
// change is reported, reachable from the watcher process through its identity.
// Deliveries are queued and handed over one at a time: each sets the text and
// reports it, after the previous report has returned, even when several
// arrive together or while a report is still running.

#include <functional>
#include <string>

namespace tollivex::platform {

class Mailbox {
public:
    virtual ~Mailbox() = default;

    /// The identity handed to the watcher, as a decimal number.
    virtual std::string Identity() const = 0;
    /// Takes deliveries (again): while closed, under a fresh identity, so a
    /// watcher started for an earlier identity never reaches it. False when
    /// nothing can listen (no private runtime folder): the watcher cannot run.
    virtual bool Open() = 0;
    /// Takes no more deliveries: connected watchers are dropped and texts not
    /// yet handed over are discarded. Nothing is delivered until Open().
    virtual void Close() = 0;
    virtual const std::string& Text() const = 0;
    /// Replaces the whole text and reports the change (nothing is reported
    /// when the text stays the same).
    virtual void SetText(const std::string& text) = 0;
    virtual void SetChangeHandler(std::function<void()> handler) = 0;
};

} // namespace tollivex::platform
