// Drops onto the window through its real drop handling (offscreen): links and
// text become queued addresses exactly as typed ones do; anything else is
// refused while it is dragged over the window.
#include "platform/gui/QuickMovieHost.h"
#include "platform/gui/TableGrid.h"
#include "queue/DownloadQueue.h"
#include "shell/FormFactory.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTableView>
#include <gtest/gtest.h>

using namespace tollivex;

namespace {

// Drags the data over `target` and drops it there, as the window system does;
// whether the drag was taken, and how.
std::pair<bool, Qt::DropAction> Drop(QWidget* target, const QMimeData& mime)
{
    const QPoint at(10, 10);
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(at, offered, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), offered, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QCoreApplication::processEvents();
    return {enter.isAccepted() && drop.isAccepted(), enter.dropAction()};
}

std::vector<std::string> Queued()
{
    std::vector<std::string> rows;
    for (const DownloadItem& item : DownloadQueue)
        rows.push_back(item.Video_URL + " | " + item.FileName + " | " + item.Status);
    return rows;
}

TEST(Drop, LinksAndTextAreAddedAsTypedAddressesAndOtherDataIsRefused)
{
    DownloadQueue.clear();
    frmMain form(CreateFormControls());
    QWidget* movie = dynamic_cast<platform::QuickMovieHost&>(form.Flash()).Widget();
    QWidget* list = static_cast<platform::TableGrid&>(form.DownloadGrid()).View()->viewport();
    const std::string yt = "http://www.youtube.com/watch?v=";
    form.AddVideoUrl(yt + "known");

    const struct {
        QWidget* target;
        std::vector<std::pair<const char*, std::string>> data; // format, bytes
        bool taken;
        std::vector<std::string> added;
    } cases[] = {
        // A browser's link: its URI list counts, in order, comments skipped.
        {movie,
         {{"text/uri-list", yt + "a\r\n# a comment\r\nhttp://example.org/page\r\n"}, {"text/plain", yt + "a"}},
         true,
         {yt + "a | Waiting (Auto Detect) | Waiting", "http://example.org/page | ERROR | Link is not supported"}},
        // Plain text, a line per address as it stands; one queued already is not added again.
        {list,
         {{"text/plain", yt + "known\n\n " + yt + "b\r\n"}},
         true,
         {" " + yt + "b | Waiting (Auto Detect) | Waiting"}},
        {list, {{"text/plain", yt + "c"}}, true, {yt + "c | Waiting (Auto Detect) | Waiting"}},
        // Files, even with their paths as text, and images are refused.
        {movie, {{"text/uri-list", "file:///tmp/clip.flv\r\n"}, {"text/plain", "/tmp/clip.flv"}}, false, {}},
        {list, {{"image/png", "\x89PNG\r\n"}}, false, {}},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> before = Queued();
        QMimeData mime;
        for (const auto& [format, bytes] : c.data)
            mime.setData(format, QByteArray::fromStdString(bytes));
        const auto [taken, action] = Drop(c.target, mime);
        EXPECT_EQ(taken, c.taken) << c.data.front().second;
        EXPECT_EQ(action, c.taken ? Qt::CopyAction : Qt::IgnoreAction) << c.data.front().second;
        std::vector<std::string> expected = before;
        expected.insert(expected.end(), c.added.begin(), c.added.end());
        EXPECT_EQ(Queued(), expected);
    }
    // The list shows what was added.
    EXPECT_EQ(static_cast<platform::TableGrid&>(form.DownloadGrid()).View()->model()->rowCount(), 5);
    DownloadQueue.clear();
}

} // namespace
