// Tollivex: one window whose surface is the movie, a tray icon, and the
// routines behind them. Creating the main window is the only entry point.
#include "platform/FileSystem.h"
#include "platform/gui/MainWindowHost.h"
#include "platform/window/MessageBox.h"
#include "platform/window/QtEventPump.h"
#include "platform/window/SingleInstance.h"
#include "platform/window/TerminationRequest.h"
#include "shell/AboutText.h"
#include "shell/FormFactory.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    // The movie draws with Qt Quick; the software renderer needs no GPU.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");

    QApplication app(argc, argv);
    tollivex::platform::InstallQtEventPump();
    QApplication::setOrganizationName("Harrowmere");
    QApplication::setApplicationName("Tollivex");
    // The menu entry's name: desktops match the window to it (with the window
    // class "Tollivex", which the application name gives).
    QApplication::setDesktopFileName(QStringLiteral("org.example.tollivex.Tollivex"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.0.%3")
                                            .arg(TOLLIVEX_VERSION_MAJOR)
                                            .arg(TOLLIVEX_VERSION_MINOR)
                                            .arg(TOLLIVEX_VERSION_REVISION));
    // The program lives on in the tray with its window hidden; only EndMe ends it.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(QIcon(QString::fromStdString(
        tollivex::platform::JoinPath(tollivex::platform::ProgramFolder(), tollivex::kTrayImageFile))));

    // One program per user: a second start brings the running window to the
    // front (out of the tray too) and leaves; it takes the place of one that
    // is ending, and says so when the running one cannot be reached.
    using Claim = tollivex::platform::SingleInstance::Claim;
    tollivex::platform::SingleInstance instance;
    switch (instance.Take()) {
    case Claim::AlreadyRunning: return 0;
    case Claim::Unreachable:
        tollivex::platform::ShowMessage(tollivex::kUnreachableInstance, "Tollivex",
                                        tollivex::platform::MessageIcon::Exclamation,
                                        tollivex::platform::MessageButtons::Ok);
        return 1;
    case Claim::First:
    case Claim::Unguarded: break;
    }

    tollivex::frmMain form(tollivex::CreateFormControls());
    form.Form_Load();
    if (form.Ended())
        return 1; // the movie could not be loaded; the user was told
    // Asked to end by the desktop (a logout, `kill`): ended as a close would,
    // so the run stops at once and a half video stays under ".part".
    tollivex::platform::OnTerminationRequest([&form] { form.EndOnRequest(); });
    instance.SetShowRequestHandler([&form] {
        if (form.Ended())
            return false;
        form.Window().Show();
        form.Window().BringToForeground();
        return true;
    });
    form.Window().Show();
    return QApplication::exec();
}
