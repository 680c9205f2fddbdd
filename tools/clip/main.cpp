// The clipboard watcher beside the program.
//   clip <identity>   watch the clipboard and deliver copied web addresses
//                     into the main window's mailbox with that identity
//   clip Exit         end the running watchers

#include "ClipboardWatcher.h"
#include "ExitRequest.h"

#include "platform/window/MailboxChannel.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    const QString argument = argc == 2 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (argument.compare(QStringLiteral("Exit"), Qt::CaseInsensitive) == 0) {
        QCoreApplication app(argc, argv);
        return tollivex::clip::EndRunningWatchers();
    }
    if (!tollivex::platform::IsIdentity(argument)) {
        std::fprintf(stderr, "usage: clip <mailbox identity> | clip Exit\n");
        return 2;
    }
#if !defined(_WIN32) && !defined(__APPLE__)
    // A watcher without a window hears of clipboard changes only through X
    // (Wayland tells the focused window alone); the X clipboard of a Wayland
    // session follows the Wayland one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) {
            std::fprintf(stderr, "clip: no X display to watch\n");
            return 1;
        }
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
#endif
    QGuiApplication app(argc, argv);
    tollivex::clip::ClipboardWatcher watcher(argument);
    if (!watcher.Start())
        return 0; // another watcher serves this mailbox, or its window is gone
    return app.exec();
}
