#include "grid/StatusCellDrawFilter.h"

#include "grid/StatusNumber.h"
#include "platform/gui/TableGridLook.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include <cmath>

namespace tollivex {

namespace {
const char* const kStatusKey = "Status";
}

bool StatusCellDrawFilter::IsProgressCell(const platform::GridDrawContext& Draw)
{
    return Draw.IsCellElement() && Draw.columnKey == kStatusKey && StatusNumber(Draw.value).has_value();
}

void StatusCellDrawFilter::AfterDraw(platform::GridDrawContext&) {}
void StatusCellDrawFilter::BeforeDraw(platform::GridDrawContext&, bool&) {}
void StatusCellDrawFilter::BeforeDrawBorders(platform::GridDrawContext&, bool&) {}
void StatusCellDrawFilter::BeforeSetCursor(const platform::GridUIElement&, bool&, std::optional<QCursor>&) {}

void StatusCellDrawFilter::BeforeDrawBackground(platform::GridDrawContext& Draw, bool& Cancel)
{
    if (Draw.elementType != platform::kGridCellElement || !Draw.painter)
        return;
    if (Draw.columnKey != kStatusKey)
        return;
    const auto value = StatusNumber(Draw.value);
    if (!value)
        return;
    const QPalette palette = QGuiApplication::palette();
    const QColor back = palette.color(QPalette::HighlightedText);
    DrawProgressCell(Draw, *value, platform::ReadableHighlight(palette.color(QPalette::Highlight), back), back, true);
    Cancel = true;
}

void StatusCellDrawFilter::BeforeDrawForeground(platform::GridDrawContext& Draw, bool& Cancel)
{
    // The bar already carries the text.
    if (IsProgressCell(Draw))
        Cancel = true;
}

void StatusCellDrawFilter::DrawProgressCell(platform::GridDrawContext& Draw, long percentage, QColor barColor,
                                            QColor backColor, bool showText)
{
    QPainter* p = Draw.painter;
    if (!p)
        return;
    const int percent = ClampPercent(percentage);
    const QString text = QString::number(percent) + "%";

    const bool selected = Draw.AnySelected();
    if (selected) {
        barColor = Draw.backColor;
        backColor = Draw.foreColor;
    }

    p->save();
    p->setRenderHint(QPainter::Antialiasing, false);
    p->setPen(Qt::NoPen);

    // One pixel lower, over the line below the cell.
    QRect work = Draw.rect.adjusted(0, 0, 0, 1);
    p->fillRect(work, backColor);

    if (showText) {
        p->setPen(barColor);
        p->drawText(Draw.rect, Qt::AlignCenter | Qt::TextSingleLine, text);
        p->setPen(Qt::NoPen);
    }

    if (!selected) {
        const double fraction = static_cast<double>(percent) / 100.0;
        const int width = static_cast<int>(std::nearbyint(fraction * work.width())); // halves to even
        work.setWidth(width);
    }

    // Two passes with the not-xor mix turn each pixel p into p ^ bar ^ back:
    // background becomes bar and text (bar coloured) becomes background.
    if (work.width() > 0) {
        p->setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        p->setBrush(barColor);
        p->drawRect(work);
        p->setBrush(backColor);
        p->drawRect(work);
    }
    p->restore();
}

} // namespace tollivex
