#pragma once
// A session bus of the test's own (dbus-daemon) with the desktop's services
// on it (desktop_services.py, python3-dbus): notifications and the file
// manager, which log every call they get. The program's notifier and file
// manager reach it through DBUS_SESSION_BUS_ADDRESS, set while it lives.

#include <QJsonObject>
#include <QProcess>

#include <string>
#include <vector>

namespace tollivex::test {

class PrivateDesktop {
public:
    PrivateDesktop();
    ~PrivateDesktop();
    PrivateDesktop(const PrivateDesktop&) = delete;
    PrivateDesktop& operator=(const PrivateDesktop&) = delete;

    /// "" when the bus and its services run; else why not.
    const std::string& Failure() const { return failure_; }
    /// The calls the services got so far, in order; each with its "call" name.
    std::vector<QJsonObject> Calls() const;
    /// Waits (running window events) until `count` calls have arrived.
    bool WaitForCalls(size_t count, int ms) const;
    /// The desktop reports a click on notification `id`.
    void Click(unsigned id) const;

private:
    QProcess bus_;
    QProcess services_;
    std::string address_;
    std::string log_;
    std::string failure_;
    QByteArray previousAddress_;
};

} // namespace tollivex::test
