#pragma once
// What the main window's mailbox and the clipboard watcher agree on: where
// each listens, how deliveries are framed, and which copied texts are
// forwarded. Shared by src/platform/gui/LocalSocketMailbox and tools/clip.
//
// A delivery is a 4-byte big-endian length followed by that many bytes of
// UTF-8 text, so several deliveries read at once are told apart. The watcher
// for identity N holds the lock file tollivex-clip-N.lock and listens on the
// control name tollivex-clip-N, where a line "exit" ends it; both live in
// the private RuntimeFolder() (platform/window/RuntimeFolder.h). Without one there
// are no names: nothing listens and no watcher runs.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace tollivex::platform {

/// Deliveries longer than this are never queued.
constexpr int kMaxDeliveryBytes = 64 * 1024;

/// The local server name of the mailbox with this identity ("" without a
/// private runtime folder, here and in the two below).
QString MailboxServerName(const QString& identity);
/// The control server name of the watcher delivering into that mailbox.
QString WatcherControlName(const QString& identity);
/// The lock file a running watcher for that mailbox holds.
QString WatcherLockFile(const QString& identity);
/// The identities of the watchers that may be running (from their lock files).
QStringList WatcherIdentities();

/// True for a decimal identity: 1 to 20 digits.
bool IsIdentity(const QString& text);

QByteArray FrameDelivery(const QString& text);

/// Splits a byte stream into deliveries.
class DeliveryReader {
public:
    void Append(const QByteArray& bytes);
    /// The next whole delivery, if one has arrived.
    std::optional<QByteArray> Next();
    /// A delivery announced itself longer than kMaxDeliveryBytes: the stream
    /// cannot be trusted any further.
    bool Broken() const { return broken_; }

private:
    QByteArray buffer_;
    bool broken_ = false;
};

/// The delivered bytes as text when they are text: at most kMaxDeliveryBytes,
/// valid UTF-8, no control characters (no line breaks, no binary content).
std::optional<QString> DeliverableText(const QByteArray& utf8);

/// A copied text worth forwarding: after trimming surrounding blanks and line
/// breaks, one word that names a scheme ("...://") or starts with "www.", and
/// deliverable as above.
std::optional<QString> AddressFromClipboard(const QString& copied);

} // namespace tollivex::platform
