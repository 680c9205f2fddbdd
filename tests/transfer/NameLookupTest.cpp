// A stop during a name lookup that the name server never answers: the
// component's wait ends at once, it does not wait for the lookup. Run through
// run-with-silent-names.sh, where 127.0.0.1:53 is the only name server.

#include "support/TempFolder.h"
#include "transfer/Download.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QUdpSocket>
#include <gtest/gtest.h>

namespace tollivex {
namespace {

TEST(NameLookup, AStopDuringALookupThatIsNeverAnsweredTakesEffectAtOnce)
{
    QUdpSocket nameServer;  // takes the questions and answers none
    if (!nameServer.bind(QHostAddress::LocalHost, 53))
        GTEST_SKIP() << "port 53 of the loopback cannot be held here: " << nameServer.errorString().toStdString();
    test::TempFolder folder;
    for (const bool transfer : {false, true}) {
        const char* what = transfer ? "the transfer's request" : "the information request";
        Download download;
        const QByteArray label = transfer ? "get-lookup" : "head-lookup";
        download.SetUrl("http://" + label.toStdString() + ".slow-names.test/clip.flv");
        download.SetLocalFile(folder.File("clip.flv"));
        if (transfer) {
            // Information asked for once (given up before it was sent): the transfer asks no more.
            download.StopWaiting = [] { return true; };
            download.RequestInformation();
        }
        // The stop comes once this row's question has reached the name server.
        QElapsedTimer clock;
        clock.start();
        qint64 stoppedAt = -1;
        download.StopWaiting = [&] {
            while (stoppedAt < 0 && nameServer.hasPendingDatagrams())
                if (nameServer.receiveDatagram().data().contains(label))
                    stoppedAt = clock.elapsed();
            return stoppedAt >= 0 || clock.elapsed() > 10000;
        };
        transfer ? static_cast<void>(download.StartDownload()) : download.RequestInformation();
        ASSERT_GE(stoppedAt, 0) << what << ": no question reached the name server";
        // Without the stop the wait lasts 30 s, the name server's time-out.
        EXPECT_LT(clock.elapsed() - stoppedAt, 1000) << what;
    }
}

} // namespace
} // namespace tollivex
