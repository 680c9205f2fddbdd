#pragma once
// The watcher's mailbox on a local socket server named after its identity
// (see platform/window/MailboxChannel.h for the names and the framing).

#include "platform/window/Mailbox.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

class QLocalServer;
class QLocalSocket;

namespace tollivex::platform {

class DeliveryReader;

class LocalSocketMailbox final : public Mailbox {
public:
    LocalSocketMailbox();
    ~LocalSocketMailbox() override;
    LocalSocketMailbox(const LocalSocketMailbox&) = delete;
    LocalSocketMailbox& operator=(const LocalSocketMailbox&) = delete;

    std::string Identity() const override;
    bool Open() override;
    void Close() override;
    const std::string& Text() const override;
    void SetText(const std::string& text) override;
    void SetChangeHandler(std::function<void()> handler) override;

    /// False when closed, or when no server name could be taken (the watcher
    /// cannot deliver).
    bool Listening() const;
    /// Watchers connected now.
    int ConnectionCount() const;

private:
    void Accept();
    void Read(QLocalSocket* socket);
    void Forget(QLocalSocket* socket);
    void DeliverPending();

    std::unique_ptr<QLocalServer> server_;
    std::unordered_map<QLocalSocket*, std::unique_ptr<DeliveryReader>> readers_;
    std::string identity_;
    std::string text_;
    std::function<void()> handler_;
    std::deque<std::string> pending_;
    bool delivering_ = false;
};

} // namespace tollivex::platform
