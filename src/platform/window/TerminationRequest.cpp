#include "platform/window/TerminationRequest.h"

#ifndef _WIN32
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <utility>

namespace tollivex::platform {

namespace {
std::function<void()>& Handler()
{
    static std::function<void()> handler;
    return handler;
}

#ifndef _WIN32
// A signal handler may only write to a descriptor; the event loop reads the
// other end and runs the handler as an ordinary window event.
int signalPipe[2] = {-1, -1};

extern "C" void NoteTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

void InstallSignalPipe()
{
    if (signalPipe[0] >= 0 || !QCoreApplication::instance())
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) {
        signalPipe[0] = signalPipe[1] = -1;
        return;
    }
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(signalPipe[1], &byte, 1);
        if (Handler())
            Handler()();
    });
    struct sigaction action = {};
    action.sa_handler = NoteTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}
#endif
} // namespace

void OnTerminationRequest(std::function<void()> handler)
{
    Handler() = std::move(handler);
#ifndef _WIN32
    InstallSignalPipe();
#endif
}

} // namespace tollivex::platform
