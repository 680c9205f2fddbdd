#include "support/PrivateDesktop.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QTest>

#include <cstdlib>

namespace tollivex::test {

PrivateDesktop::PrivateDesktop()
{
    previousAddress_ = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    bus_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    if (!bus_.waitForReadyRead(10000)) {
        failure_ = "dbus-daemon did not start (package dbus)";
        return;
    }
    address_ = bus_.readLine().trimmed().toStdString();
    qputenv("DBUS_SESSION_BUS_ADDRESS", QByteArray::fromStdString(address_));
    log_ = QDir::temp().filePath(QStringLiteral("tollivex-desktop-%1.log").arg(bus_.processId())).toStdString();
    QFile::remove(QString::fromStdString(log_));
    // python3-dbus and python3-gi come with the system's python3.
    const QString python = QFile::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    services_.start(python, {QString(std::getenv("TOLLIVEX_SOURCE_DIR")) + "/tests/support/desktop_services.py",
                             QString::fromStdString(log_)});
    if (!services_.waitForReadyRead(10000) || !services_.readLine().startsWith("ready"))
        failure_ = "the desktop services did not start (packages python3-dbus, python3-gi): " +
                   services_.readAllStandardError().toStdString();
}

PrivateDesktop::~PrivateDesktop()
{
    for (QProcess* process : {&services_, &bus_}) {
        process->kill();
        process->waitForFinished();
    }
    if (previousAddress_.isNull())
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    else
        qputenv("DBUS_SESSION_BUS_ADDRESS", previousAddress_);
    QFile::remove(QString::fromStdString(log_));
}

std::vector<QJsonObject> PrivateDesktop::Calls() const
{
    std::vector<QJsonObject> calls;
    QFile file(QString::fromStdString(log_));
    if (!file.open(QIODevice::ReadOnly))
        return calls;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.isEmpty())
            calls.push_back(QJsonDocument::fromJson(line).object());
    }
    return calls;
}

bool PrivateDesktop::WaitForCalls(size_t count, int ms) const
{
    QElapsedTimer clock;
    clock.start();
    while (Calls().size() < count && clock.elapsed() < ms)
        QTest::qWait(10);
    return Calls().size() >= count;
}

void PrivateDesktop::Click(unsigned id) const
{
    QDBusConnection bus = QDBusConnection::connectToBus(QString::fromStdString(address_), "test-desktop");
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.Notifications",
                                                       "/org/freedesktop/Notifications", "org.example.Test", "Click");
    call << id;
    bus.call(call);
}

} // namespace tollivex::test
