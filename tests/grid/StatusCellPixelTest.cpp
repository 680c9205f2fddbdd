// The status cell as it reaches the screen: the grid is rendered into an
// image and its pixels are read back.

#include "GridTestSupport.h"

#include "platform/gui/MainWindowHost.h"
#include "platform/gui/TableGridLook.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QPalette>
#include <QTest>

#include <cstdlib>
#include <map>

namespace tollivex::test {
namespace {

class StatusCellPixels : public GridForm {
protected:
    void SetUp() override
    {
        const QPalette before = QGuiApplication::palette();
        GridForm::SetUp();
        form->Window().SetSize(640, 300);
        form->Window().Show();
        grid->SetGeometry(0, 0, 640, 300);
        grid->SetVisible(true);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(grid->View()->window()));
        back = before.color(QPalette::HighlightedText).rgb();
        bar = platform::ReadableHighlight(before.color(QPalette::Highlight), QColor(back)).rgb();
        ASSERT_NE(bar, back);
        // The bar's darker highlight is its own: menus, message boxes and
        // selected text keep the desktop's (here too light for the bar's text).
        ASSERT_EQ(QGuiApplication::palette(), before);
        ASSERT_NE(bar, before.color(QPalette::Highlight).rgb());
    }

    /// The grid's rows as drawn now.
    QImage Shot() const
    {
        QApplication::processEvents(); // selections made through the grid show with the next event round
        QWidget* viewport = grid->View()->viewport();
        return viewport->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QRect StatusRect(int row) const
    {
        QAbstractItemModel* model = grid->View()->model();
        return grid->View()->visualRect(model->index(row, colStatus));
    }
    static bool Near(QRgb a, QRgb b, int tolerance = 8)
    {
        return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
               std::abs(qBlue(a) - qBlue(b)) <= tolerance;
    }
    /// Columns of the cell's top pixel line in the given colour.
    static int ColumnsIn(const QImage& image, const QRect& cell, QRgb colour)
    {
        int count = 0;
        for (int x = cell.left(); x <= cell.right(); ++x)
            count += Near(image.pixel(x, cell.top() + 1), colour) ? 1 : 0;
        return count;
    }
    /// The pixel of the area that differs most from `colour`.
    static QRgb Farthest(const QImage& image, const QRect& area, QRgb colour)
    {
        QRgb found = colour;
        int most = -1;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const QRgb p = image.pixel(x, y);
                const int d = std::abs(qRed(p) - qRed(colour)) + std::abs(qGreen(p) - qGreen(colour)) +
                              std::abs(qBlue(p) - qBlue(colour));
                if (d > most) {
                    most = d;
                    found = p;
                }
            }
        return found;
    }
    /// Pixels that stand out from the colour around them: text strokes.
    static int PixelsAwayFrom(const QImage& image, const QRect& area, QRgb colour)
    {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                count += Near(image.pixel(x, y), colour, 60) ? 0 : 1;
        return count;
    }
    static int PixelsIn(const QImage& image, const QRect& area, QRgb colour, int tolerance = 8)
    {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                count += Near(image.pixel(x, y), colour, tolerance) ? 1 : 0;
        return count;
    }

    /// WCAG contrast of a cell as drawn: its commonest colour is the
    /// background, the pixel farthest from it the text.
    static double CellContrast(const QImage& image, const QRect& cell)
    {
        std::map<QRgb, int> counts;
        const QRect inside = cell.adjusted(1, 1, -2, -2);
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                ++counts[image.pixel(x, y)];
        QRgb background = 0;
        int most = 0;
        for (const auto& [colour, count] : counts)
            if (count > most) {
                most = count;
                background = colour;
            }
        return platform::ContrastRatio(QColor(background), QColor(Farthest(image, inside, background)));
    }

    QRgb bar = 0;
    QRgb back = 0;
};

TEST_F(StatusCellPixels, ANumericStatusIsABarWithItsPercentageInvertedOverIt)
{
    Queue({"half", "none", "done", "over"}, {"50", "0", "Complete", "135"});
    const QImage image = Shot();
    const QRect half = StatusRect(0);
    ASSERT_GT(half.width(), 60);

    // Half the cell in the bar colour from the left, the rest background.
    const int barColumns = ColumnsIn(image, half, bar);
    EXPECT_NEAR(barColumns, half.width() / 2.0, 2);
    EXPECT_TRUE(Near(image.pixel(half.left() + half.width() / 4, half.top() + 1), bar));
    EXPECT_TRUE(Near(image.pixel(half.left() + 3 * half.width() / 4, half.top() + 1), back));

    // The text "50%" straddles the bar's end: over the bar its strokes are
    // in the background colour, beside it in the bar colour.
    const int middle = half.left() + half.width() / 2;
    const QRect overBar(middle - 20, half.top() + 3, 18, half.height() - 6);
    const QRect besideBar(middle + 2, half.top() + 3, 18, half.height() - 6);
    EXPECT_GT(PixelsIn(image, overBar, bar), overBar.width() * overBar.height() / 2) << "the bar under the text";
    EXPECT_GT(PixelsAwayFrom(image, overBar, bar), 8) << "text over the bar";
    EXPECT_TRUE(Near(Farthest(image, overBar, bar), back, 60)) << "text over the bar is in the background colour";
    EXPECT_GT(PixelsAwayFrom(image, besideBar, back), 8) << "text beside the bar";
    EXPECT_TRUE(Near(Farthest(image, besideBar, back), bar, 60)) << "text beside the bar is in the bar colour";

    // "Complete" is plain text: no bar anywhere in the cell.
    const QRect done = StatusRect(2);
    EXPECT_EQ(PixelsIn(image, done.adjusted(0, 0, -1, -1), bar), 0);
    EXPECT_EQ(ColumnsIn(image, done, back), done.width() - 1) << "all background but the border";
    const QRect doneText(done.left() + 2, done.top() + 3, 50, done.height() - 6);
    int ink = 0;
    for (int y = doneText.top(); y <= doneText.bottom(); ++y)
        for (int x = doneText.left(); x <= doneText.right(); ++x)
            ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    EXPECT_GT(ink, 10) << "its text is drawn";

    // 0 draws no bar but shows its text in the bar colour; 135 is a full bar.
    const QRect none = StatusRect(1);
    EXPECT_EQ(ColumnsIn(image, none, bar), 0);
    EXPECT_GT(PixelsAwayFrom(image, none.adjusted(none.width() / 2 - 15, 3, -(none.width() / 2 - 15), -3), back), 8);
    const QRect over = StatusRect(3);
    EXPECT_GE(ColumnsIn(image, over, bar), over.width() - 1);
}

TEST_F(StatusCellPixels, ASelectedRowShowsAFullBarInTheSelectionColours)
{
    Queue({"half", "other"}, {"50", "50"});
    SelectRow(0);
    const QImage image = Shot();
    const QRect selected = StatusRect(0);
    const QRgb selectedBack = qRgb(255, 199, 0); // the layout's colours of selected cells
    EXPECT_GE(ColumnsIn(image, selected, selectedBack), selected.width() - 1);
    EXPECT_EQ(ColumnsIn(image, selected, bar), 0);
    // Its text shows in the selection's fore colour, white.
    const QRect text = selected.adjusted(selected.width() / 2 - 15, 3, -(selected.width() / 2 - 15), -3);
    EXPECT_GT(PixelsAwayFrom(image, text, selectedBack), 8);
    // The row beside it keeps its half bar.
    EXPECT_NEAR(ColumnsIn(image, StatusRect(1), bar), StatusRect(1).width() / 2.0, 2);
}

TEST_F(StatusCellPixels, TextStandsOutAtLeastFourAndAHalfToOneInEveryState)
{
    Queue({"normal-row", "alternate-row", "selected-row", "current-cell", "edited-cell", "selected-bar", "bar"},
          {"Waiting", "Waiting", "Waiting", "Waiting", "Waiting", "45", "45"});
    SelectRow(2);
    SelectRow(5);
    QTableView* view = grid->View();
    view->window()->activateWindow();
    view->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view->window()));
    view->selectionModel()->setCurrentIndex(view->model()->index(3, colFileName), QItemSelectionModel::NoUpdate);
    view->selectionModel()->select(view->model()->index(2, colFileName), QItemSelectionModel::Select);
    QImage image = Shot();
    auto cell = [&](int row) { return view->visualRect(view->model()->index(row, colFileName)); };
    const struct {
        const char* state;
        int row;
    } states[] = {{"normal", 0}, {"alternate", 1}, {"selected", 2}, {"current", 3}};
    for (const auto& s : states)
        EXPECT_GE(CellContrast(image, cell(s.row)), 4.5) << s.state;
    EXPECT_NE(image.pixel(cell(0).center().x(), cell(0).top() + 1),
              image.pixel(cell(1).center().x(), cell(1).top() + 1))
        << "every second row has its own background";
    EXPECT_GE(CellContrast(image, StatusRect(5)), 4.5) << "a selected progress cell";
    EXPECT_GE(CellContrast(image, StatusRect(6)), 4.5) << "a progress cell";

    view->edit(view->model()->index(4, colFileName));
    auto* editor = view->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->deselect(); // the caret is drawn inverted over marked text
    image = Shot();
    EXPECT_GE(CellContrast(image, cell(4)), 4.5) << "being edited";
}

} // namespace
} // namespace tollivex::test
