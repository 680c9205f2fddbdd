// The settings survive a restart: one program run switches the monitor and
// picks a folder in the real folder picker, the next run starts with them.
// Each run is this test program started again as "--program-run", so the
// program-wide state really starts afresh, as it does for the user.

#include "platform/FileSystem.h"
#include "platform/gui/QuickMovieHost.h"
#include "platform/registry/UserStore.h"
#include "platform/seams/TestSeams.h"
#include "platform/window/QtEventPump.h"
#include "shell/FormFactory.h"
#include "shell/frmMain.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace tollivex;

namespace {

// Answers the folder picker as a user would: waits for the dialog, goes to
// types `folder` and presses its accept button.
void AnswerFolderPicker(const QString& folder)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, folder] {
        QFileDialog* dialog = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* shown = qobject_cast<QFileDialog*>(window); shown && shown->isVisible())
                dialog = shown;
        if (!dialog)
            return;
        // Types the folder's full path into the name box, as a user may, and
        // tries again on the next tick if the dialog did not take it yet.
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            name->setText(folder);
        static_cast<QDialog*>(dialog)->accept(); // the accept button's own slot
        if (dialog->result() == QDialog::Accepted) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start(20);
}

// One program run of the main window over the store in `store`, with the program's
// movie from `programFolder`. "report" prints what start-up read and mirrored;
// "change" also switches the monitor as named and picks `folder`.
int RunSession(int argc, char** argv)
{
    const std::string action = argv[2];
    platform::registry::SetStoreFolder(argv[3]);
    platform::SetProgramFolder(argv[4]);
    frmMain form(CreateFormControls());
    form.Form_Load();
    if (form.Ended())
        return 3;
    if (action == "change" && argc == 7) {
        form.Flash_FSCommand(std::strcmp(argv[5], "on") == 0 ? "ID_FS_autoDownloadCheck" : "ID_FS_autoDownloadUncheck",
                             "");
        AnswerFolderPicker(QString::fromLocal8Bit(argv[6]));
        form.Flash_FSCommand("ID_FS_downloadBrowse", "");
    } else if (action != "report") {
        return 2;
    }
    const std::string report = std::string(bUrlMonitor ? "on" : "off") + "\n" + sDownloadDir + "\n" +
                               form.Flash().GetVariable("_root.autoToDownloadList_CB") + "\n" +
                               form.Flash().GetVariable("_root.download_dir") + "\n";
    std::fwrite(report.data(), 1, report.size(), stdout);
    form.EndMe();
    return 0;
}

struct Restart : ::testing::Test {
    test::TempFolder store;
    test::TempFolder program;
    test::TempFolder videos;
    // Sockets need a short path, in a folder closed to others (the build folder may be deep).
    QTemporaryDir runtime{QDir::tempPath() + QStringLiteral("/tvx-rt-XXXXXX")};

    void SetUp() override
    {
        const std::string assets = std::string(std::getenv("TOLLIVEX_SOURCE_DIR")) + "/assets/";
        program.Write("Main.qml", *platform::ReadWholeFile(assets + "Main.qml"));
    }

    // The lines the session printed: monitor, folder, and their two movie variables.
    std::vector<std::string> Session(const QStringList& arguments)
    {
        QProcess run;
        // The picker keeps its history in the configuration folder: a private one.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(store.File("xdg")));
        environment.insert("XDG_RUNTIME_DIR", runtime.path());
        run.setProcessEnvironment(environment);
        run.start(QCoreApplication::applicationFilePath(),
                  QStringList{"--program-run"} + arguments.mid(0, 1) +
                      QStringList{QString::fromStdString(store.Path()), QString::fromStdString(program.Path())} +
                      arguments.mid(1));
        if (!run.waitForFinished(60000)) {
            run.kill();
            run.waitForFinished();
            ADD_FAILURE() << "the program run did not end";
        }
        EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
        std::vector<std::string> lines;
        for (const QString& line : QString::fromLocal8Bit(run.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts))
            lines.push_back(line.toStdString());
        return lines;
    }
};

TEST_F(Restart, MonitorSwitchAndPickedFolderAreThereAfterARestart)
{
    // First start: monitor on, the default folder, both shown in the movie.
    const auto first = Session({"report"});
    ASSERT_EQ(first.size(), 4u);
    EXPECT_EQ(first[0], "on");
    EXPECT_EQ(first[1], DefaultDownloadDir());
    EXPECT_EQ(first[2], "1");
    EXPECT_EQ(first[3], first[1]);

    const QString picked = QString::fromStdString(videos.Path());
    const auto changed = Session({"change", "off", picked});
    ASSERT_EQ(changed.size(), 4u);
    EXPECT_EQ(changed[0], "off");
    EXPECT_EQ(changed[1], videos.Path());
    EXPECT_EQ(changed[3], videos.Path()); // the movie shows the picked folder at once

    const auto restarted = Session({"report"});
    ASSERT_EQ(restarted.size(), 4u);
    EXPECT_EQ(restarted[0], "off");
    EXPECT_EQ(restarted[1], videos.Path());
    EXPECT_EQ(restarted[2], "0");
    EXPECT_EQ(restarted[3], videos.Path());

    // And back on, with another folder.
    test::TempFolder other;
    Session({"change", "on", QString::fromStdString(other.Path())});
    const auto again = Session({"report"});
    ASSERT_EQ(again.size(), 4u);
    EXPECT_EQ(again[0], "on");
    EXPECT_EQ(again[1], other.Path());
    EXPECT_EQ(again[2], "1");
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    tollivex::platform::InstallQtEventPump();
    if (argc >= 5 && std::strcmp(argv[1], "--program-run") == 0)
        return RunSession(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
