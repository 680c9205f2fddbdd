// The grid control on its own: binding, stale rows, selection order, the edit
// notifications, layout settings, window and scrolling.

#include "platform/gui/TableGrid.h"
#include "platform/gui/QtControls.h"
#include "platform/gui/StatusAnnouncer.h"
#include "platform/gui/TableGridModel.h"

#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace tollivex::platform {
namespace {

// The columns of the program's list.
enum : int { colID, colVideoURL, colFileName, colStatus, colFileSize };

GridColumns ListColumns()
{
    GridColumns columns;
    columns.keys = {"ID", "Video_URL", "FileName", "Status", "FileSize"};
    columns.number = colID;
    columns.address = colVideoURL;
    columns.name = colFileName;
    columns.status = colStatus;
    return columns;
}

struct Table final : GridTable {
    struct Row {
        std::vector<std::string> text;
        std::string reason;
    };
    std::vector<Row> rows;

    std::size_t RowCount() const override { return rows.size(); }
    const std::string& Text(std::size_t row, int column) const override { return rows[row].text[column]; }
    const std::string& Reason(std::size_t row) const override { return rows[row].reason; }
};

std::shared_ptr<Table> MakeTable(int rows)
{
    auto table = std::make_shared<Table>();
    for (int i = 0; i < rows; ++i) {
        const std::string n = std::to_string(i + 1);
        table->rows.push_back({{n, "http://host/" + n, "file" + n + ".flv", "Waiting", "????"}, ""});
    }
    return table;
}

struct GridFixture : ::testing::Test {
    QWidget window;
    std::unique_ptr<GridControl> control = CreateGridControl(&window, ListColumns());
    TableGrid& grid = static_cast<TableGrid&>(*control);
    GridFixture() { window.resize(640, 400); }
};

TEST_F(GridFixture, BindingWalksRowsAndMakesOldRowsStale)
{
    EXPECT_FALSE(grid.FirstRow());
    EXPECT_FALSE(grid.LastRow());
    int layouts = 0;
    GridHandlers h;
    h.InitializeLayout = [&] { ++layouts; };
    grid.SetHandlers(h);

    grid.SetDataSource(MakeTable(3));
    EXPECT_EQ(layouts, 1);
    auto first = grid.FirstRow();
    ASSERT_TRUE(first);
    std::vector<std::string> ids;
    for (auto r = grid.FirstRow(); r; r = grid.NextRow(*r))
        ids.push_back(grid.CellText({*r, colID}));
    EXPECT_EQ(ids, (std::vector<std::string>{"1", "2", "3"}));
    auto last = grid.LastRow();
    ASSERT_TRUE(last);
    EXPECT_EQ(grid.CellText({*last, colVideoURL}), "http://host/3");
    EXPECT_FALSE(grid.NextRow(*last));
    EXPECT_FALSE(grid.PreviousRow(*first));
    EXPECT_EQ(grid.PreviousRow(*last)->index, 1);

    grid.SetDataSource(MakeTable(2));
    EXPECT_EQ(layouts, 2);
    // The old references read nothing and write nothing.
    EXPECT_EQ(grid.CellText({*first, colID}), "");
    grid.SetCellValue({*first, colFileName}, "stale.flv");
    grid.SetRowSelected(*first, true);
    EXPECT_EQ(grid.CellText({*grid.FirstRow(), colFileName}), "file1.flv");
    EXPECT_TRUE(grid.SelectedCells().empty());
    EXPECT_FALSE(grid.NextRow(*first));

    grid.SetDataSource(nullptr);
    EXPECT_EQ(layouts, 2); // unbinding lays nothing out
    EXPECT_FALSE(grid.FirstRow());
    EXPECT_EQ(grid.View()->model()->rowCount(), 0);
}

TEST_F(GridFixture, CellWritesShowAtOnceAndSelectionComesInViewOrder)
{
    grid.SetDataSource(MakeTable(4));
    const GridRow r0 = *grid.FirstRow();
    const GridRow r2 = *grid.NextRow(*grid.NextRow(r0));
    grid.SetCellValue({r2, colStatus}, "45");
    EXPECT_EQ(grid.CellText({r2, colStatus}), "45");
    EXPECT_EQ(grid.View()->model()->index(2, colStatus).data().toString(), "45");

    // Cells of two rows, the later row first: the collection lists them top to bottom.
    grid.SetCellSelected({r2, colFileSize}, true);
    grid.SetCellSelected({r0, colVideoURL}, true);
    auto cells = grid.SelectedCells();
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].row.index, 0);
    EXPECT_EQ(cells[0].column, colVideoURL);
    EXPECT_EQ(cells[1].row.index, 2);
    EXPECT_EQ(cells[1].column, colFileSize);
    EXPECT_TRUE(grid.IsCellSelected({r0, colVideoURL}));
    EXPECT_FALSE(grid.IsRowSelected(r0)); // one cell is not the row

    grid.SetRowSelected(r0, true);
    EXPECT_TRUE(grid.IsRowSelected(r0));
    EXPECT_TRUE(grid.IsCellSelected({r0, colStatus}));
    grid.SetRowSelected(r0, false);
    EXPECT_FALSE(grid.IsRowSelected(r0));
    EXPECT_FALSE(grid.IsCellSelected({r0, colVideoURL}));
    EXPECT_EQ(grid.SelectedCells().size(), 1u);

    // A rebuild drops the selection: its rows may now hold other items.
    grid.SetDataSource(MakeTable(4));
    EXPECT_TRUE(grid.SelectedCells().empty());
}

TEST_F(GridFixture, EditsPassThroughTheHandlersAndOnlyOpenColumnsEdit)
{
    grid.SetDataSource(MakeTable(2));
    grid.SetColumnEditable(colFileName, true);
    std::vector<std::string> seen;
    bool refuse = false;
    int after = 0;
    GridHandlers h;
    h.BeforeCellUpdate = [&](const GridCell& cell, const std::string& value, bool& cancel) {
        seen.push_back(grid.ColumnKey(cell.column) + "=" + value);
        cancel = refuse;
    };
    h.AfterCellUpdate = [&](const GridCell& cell) {
        ++after;
        grid.SetCellValue(cell, "clean.flv");
    };
    grid.SetHandlers(h);
    QAbstractItemModel* m = grid.View()->model();

    EXPECT_FALSE(m->flags(m->index(0, colStatus)) & Qt::ItemIsEditable);
    EXPECT_TRUE(m->flags(m->index(0, colFileName)) & Qt::ItemIsEditable);
    EXPECT_FALSE(m->setData(m->index(0, colStatus), "x"));
    EXPECT_TRUE(seen.empty());

    EXPECT_TRUE(m->setData(m->index(0, colFileName), "my:clean?.flv"));
    EXPECT_EQ(seen.back(), "FileName=my:clean?.flv");
    EXPECT_EQ(after, 1);
    EXPECT_EQ(grid.CellText({*grid.FirstRow(), colFileName}), "clean.flv");

    refuse = true;
    EXPECT_FALSE(m->setData(m->index(1, colFileName), "???"));
    EXPECT_EQ(after, 1);
    EXPECT_EQ(grid.CellText({*grid.LastRow(), colFileName}), "file2.flv");

    // Through a real editor: type, press Enter.
    refuse = false;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    grid.View()->setCurrentIndex(m->index(1, colFileName));
    grid.View()->edit(m->index(1, colFileName));
    auto* editor = grid.View()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "typed.flv");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(seen.back(), "FileName=typed.flv");
    EXPECT_EQ(after, 2);
}

TEST_F(GridFixture, LayoutWindowAndScrolling)
{
    grid.SetColumnWidthTwips(colVideoURL, 3800);
    const int dpi = grid.View()->logicalDpiX();
    EXPECT_EQ(grid.View()->columnWidth(colVideoURL), static_cast<int>(std::lround(3800.0 / 15 * dpi / 96)));
    grid.SetColumnCaption(colID, " ");
    EXPECT_EQ(grid.View()->model()->headerData(colID, Qt::Horizontal).toString(), " ");
    grid.SetCaption("Queue");
    EXPECT_EQ(grid.Caption(), "Queue");
    grid.SetCaption("");

    grid.SetGeometry(32, 177, 573, 180);
    EXPECT_EQ(grid.Widget()->geometry(), QRect(32, 177, 573, 180));
    grid.SetVisible(false);
    EXPECT_FALSE(grid.IsVisible());
    grid.SetVisible(true);
    EXPECT_TRUE(grid.IsVisible());
    auto* cover = new QWidget(&window);
    cover->setGeometry(0, 0, 640, 400);
    cover->show();
    grid.BringToFront();
    EXPECT_EQ(window.children().last(), grid.Widget());

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* other = new QLineEdit(&window);
    other->show();
    other->setFocus();
    EXPECT_FALSE(grid.IsActiveControl());
    grid.Activate();
    EXPECT_TRUE(grid.IsActiveControl());

    grid.SetDataSource(MakeTable(50));
    QApplication::processEvents();
    QScrollBar* bar = grid.View()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 2);
    EXPECT_EQ(bar->value(), 0);
    grid.ScrollRowRegion(0); // already at the top
    EXPECT_EQ(bar->value(), 0);
    grid.ScrollRowRegion(1);
    grid.ScrollRowRegion(1);
    EXPECT_EQ(bar->value(), 2);
    EXPECT_EQ(grid.View()->rowAt(0), 2);
    grid.ScrollRowRegion(0);
    EXPECT_EQ(grid.View()->rowAt(0), 1);
    // A rebuild keeps the list where it was.
    grid.SetDataSource(MakeTable(50));
    EXPECT_EQ(bar->value(), 1);
}

} // namespace
} // namespace tollivex::platform

namespace tollivex::platform {
namespace {

TEST_F(GridFixture, AScreenReaderHearsCellsWithTheirColumnsAndEachNewStageOnce)
{
    grid.SetColumnCaption(colStatus, "Download Status");
    grid.SetColumnCaption(colID, " ");
    grid.SetDataSource(MakeTable(2));
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(grid.View());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->text(QAccessible::Name), "Download list");
    ASSERT_NE(list->tableInterface(), nullptr);
    QAccessibleInterface* status = list->tableInterface()->cellAt(1, colStatus);
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->text(QAccessible::Name), "Download Status: Waiting");
    EXPECT_EQ(list->tableInterface()->cellAt(0, colID)->text(QAccessible::Name), "Number: 1");

    // Stages, not percentages: 5% and 6% are one "Downloading".
    const GridCell second{*grid.LastRow(), colStatus};
    const struct {
        const char* written;
        const char* heard;
    } steps[] = {{"Preperaing (0%)", "file2.flv: Preperaing..."},
                 {"Preperaing (40%)", "file2.flv: Preperaing..."},
                 {"5", "file2.flv: Downloading"},
                 {"1.2 MBso far..", "file2.flv: Downloading"}};
    for (const auto& step : steps) {
        grid.SetCellValue(second, step.written);
        EXPECT_EQ(grid.Announcer().Last().toStdString(), step.heard) << step.written;
    }
    EXPECT_EQ(status->text(QAccessible::Name), "Download Status: 1.2 MBso far..");
    grid.SetCellValue(second, "6");
    EXPECT_EQ(status->text(QAccessible::Name), "Download Status: 6%");
    // A rebuild that finishes the item announces it; new items do not.
    auto table = MakeTable(3);
    table->rows[1].text[colStatus] = "ERROR";
    table->rows[1].reason = "The server answered 404. Try again later.";
    grid.SetDataSource(table);
    EXPECT_EQ(grid.Announcer().Last().toStdString(), "file2.flv: ERROR");
    // Why it failed comes with its cells (one not read before: cells already
    // read are renewed only while a screen reader listens).
    QAccessibleInterface* name = list->tableInterface()->cellAt(1, colFileName);
    EXPECT_EQ(name->text(QAccessible::Name), "FileName: file2.flv");
    EXPECT_EQ(name->text(QAccessible::Description), "The server answered 404. Try again later.");
}

} // namespace
} // namespace tollivex::platform
