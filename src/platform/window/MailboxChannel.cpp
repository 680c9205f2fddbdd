#include "platform/window/MailboxChannel.h"

#include "platform/window/RuntimeFolder.h"

#include <QDir>
#include <QStringDecoder>
#include <QtEndian>

namespace tollivex::platform {

namespace {

const QString kMailboxPrefix = QStringLiteral("tollivex-mailbox-");
const QString kWatcherPrefix = QStringLiteral("tollivex-clip-");
const QString kLockSuffix = QStringLiteral(".lock");

QString InFolder(const QString& name)
{
    const auto folder = RuntimeFolder();
    return folder ? *folder + QLatin1Char('/') + name : QString();
}

/// On Unix a local server name is a socket path: keep ours in the private folder.
QString InRuntimeFolder(const QString& name)
{
#ifdef _WIN32
    return RuntimeFolder() ? name : QString();
#else
    return InFolder(name);
#endif
}

bool HasScheme(const QString& text)
{
    const qsizetype at = text.indexOf(QStringLiteral("://"));
    if (at <= 0)
        return false;
    for (qsizetype i = 0; i < at; ++i) {
        const QChar c = text[i];
        const bool schemeChar = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                                (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                                (i > 0 && ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('+') ||
                                           c == QLatin1Char('-') || c == QLatin1Char('.')));
        if (!schemeChar)
            return false;
    }
    return at + 3 < text.size();
}

} // namespace

QString MailboxServerName(const QString& identity) { return InRuntimeFolder(kMailboxPrefix + identity); }

QString WatcherControlName(const QString& identity) { return InRuntimeFolder(kWatcherPrefix + identity); }

QString WatcherLockFile(const QString& identity) { return InFolder(kWatcherPrefix + identity + kLockSuffix); }

QStringList WatcherIdentities()
{
    QStringList identities;
    const auto folder = RuntimeFolder();
    if (!folder)
        return identities;
    const QStringList locks = QDir(*folder).entryList({kWatcherPrefix + QLatin1Char('*') + kLockSuffix},
                                                      QDir::Files | QDir::Hidden);
    for (const QString& lock : locks) {
        const QString identity = lock.mid(kWatcherPrefix.size(),
                                          lock.size() - kWatcherPrefix.size() - kLockSuffix.size());
        if (IsIdentity(identity))
            identities << identity;
    }
    return identities;
}

bool IsIdentity(const QString& text)
{
    if (text.isEmpty() || text.size() > 20)
        return false;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

QByteArray FrameDelivery(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray frame(4, '\0');
    qToBigEndian(static_cast<quint32>(utf8.size()), frame.data());
    frame += utf8;
    return frame;
}

void DeliveryReader::Append(const QByteArray& bytes)
{
    if (!broken_)
        buffer_ += bytes;
}

std::optional<QByteArray> DeliveryReader::Next()
{
    if (broken_ || buffer_.size() < 4)
        return std::nullopt;
    const quint32 length = qFromBigEndian<quint32>(buffer_.constData());
    if (length > static_cast<quint32>(kMaxDeliveryBytes)) {
        broken_ = true;
        buffer_.clear();
        return std::nullopt;
    }
    if (buffer_.size() < 4 + static_cast<qsizetype>(length))
        return std::nullopt;
    QByteArray delivery = buffer_.mid(4, length);
    buffer_.remove(0, 4 + length);
    return delivery;
}

std::optional<QString> DeliverableText(const QByteArray& utf8)
{
    if (utf8.isEmpty() || utf8.size() > kMaxDeliveryBytes)
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(utf8);
    if (decoder.hasError())
        return std::nullopt;
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c.category() == QChar::Other_Control)
            return std::nullopt;
    return text;
}

std::optional<QString> AddressFromClipboard(const QString& copied)
{
    if (copied.size() > kMaxDeliveryBytes) // cheap first cut; the exact limit is in bytes
        return std::nullopt;
    const QString text = copied.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    for (const QChar c : text)
        if (c.isSpace())
            return std::nullopt;
    if (!HasScheme(text) && !text.startsWith(QStringLiteral("www."), Qt::CaseInsensitive))
        return std::nullopt;
    auto deliverable = DeliverableText(text.toUtf8());
    // Lone surrogates in the copied text do not survive UTF-8: such text is not sent.
    if (!deliverable || *deliverable != text)
        return std::nullopt;
    return deliverable;
}

} // namespace tollivex::platform
