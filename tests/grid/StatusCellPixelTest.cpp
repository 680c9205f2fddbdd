// The status cell as it reaches the screen: the grid is rendered into an
// image and its pixels are read back.

#include "GridTestSupport.h"

#include "platform/gui/MainWindowHost.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <QTest>

#include <cstdlib>

namespace tollivex::test {
namespace {

class StatusCellPixels : public GridForm {
protected:
    void SetUp() override
    {
        GridForm::SetUp();
        form->Window().SetSize(640, 300);
        form->Window().Show();
        grid->SetGeometry(0, 0, 640, 300);
        grid->SetVisible(true);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(grid->View()->window()));
        bar = QGuiApplication::palette().color(QPalette::Highlight).rgb();
        back = QGuiApplication::palette().color(QPalette::HighlightedText).rgb();
        ASSERT_NE(bar, back);
    }

    /// The grid's rows as drawn now.
    QImage Shot() const
    {
        QApplication::processEvents();  // selections made through the grid show with the next event round
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

    QRgb bar = 0;
    QRgb back = 0;
};

TEST_F(StatusCellPixels, ANumericStatusIsABarWithItsPercentageInvertedOverIt)
{
    Queue({"half", "done", "none", "over"}, {"50", "Complete", "0", "135"});
    const QImage image = Shot();
    const QRect half = StatusRect(0);
    ASSERT_GT(half.width(), 60);

    // Half the cell in the bar colour from the left, the rest background.
    const int barColumns = ColumnsIn(image, half, bar);
    EXPECT_NEAR(barColumns, half.width() / 2, 2);
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
    const QRect done = StatusRect(1);
    EXPECT_EQ(PixelsIn(image, done.adjusted(0, 0, -1, -1), bar), 0);
    EXPECT_EQ(ColumnsIn(image, done, back), done.width() - 1) << "all background but the border";
    const QRect doneText(done.left() + 2, done.top() + 3, 50, done.height() - 6);
    int ink = 0;
    for (int y = doneText.top(); y <= doneText.bottom(); ++y)
        for (int x = doneText.left(); x <= doneText.right(); ++x)
            ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    EXPECT_GT(ink, 10) << "its text is drawn";

    // 0 draws no bar but shows its text in the bar colour; 135 is a full bar.
    const QRect none = StatusRect(2);
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
    const QRgb selectedBack = qRgb(255, 199, 0);  // the layout's colours of selected cells
    EXPECT_GE(ColumnsIn(image, selected, selectedBack), selected.width() - 1);
    EXPECT_EQ(ColumnsIn(image, selected, bar), 0);
    // Its text shows in the selection's fore colour, white.
    const QRect text = selected.adjusted(selected.width() / 2 - 15, 3, -(selected.width() / 2 - 15), -3);
    EXPECT_GT(PixelsAwayFrom(image, text, selectedBack), 8);
    // The row beside it keeps its half bar.
    EXPECT_NEAR(ColumnsIn(image, StatusRect(1), bar), StatusRect(1).width() / 2, 2);
}

} // namespace
} // namespace tollivex::test
