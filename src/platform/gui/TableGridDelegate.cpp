#include "platform/gui/TableGridDelegate.h"

#include "platform/gui/TableGridModel.h"

#include <QItemSelectionModel>
#include <QPainter>
#include <QTableView>

namespace tollivex::platform {

namespace {
constexpr int kTextPadding = 3;
}

TableGridDelegate::TableGridDelegate(QTableView* view, const TableGridModel* model, const TableGridLook* look,
                                     std::function<GridCell(int, int)> cellOf)
    : QStyledItemDelegate(view), view_(view), model_(model), look_(look), cellOf_(std::move(cellOf))
{
}

GridDrawContext TableGridDelegate::ContextOf(QPainter* painter, const QRect& rect, const QModelIndex& index,
                                             bool selected) const
{
    GridDrawContext ctx;
    ctx.painter = painter;
    ctx.elementType = kGridCellElement;
    ctx.rect = rect;
    ctx.cell = cellOf_(index.row(), index.column());
    ctx.columnKey = model_->Columns().keys[static_cast<size_t>(index.column())];
    ctx.value = model_->Text(index.row(), index.column());
    ctx.cellSelected = selected;
    if (QItemSelectionModel* sel = view_->selectionModel()) {
        ctx.rowSelected = sel->isRowSelected(index.row(), QModelIndex());
        ctx.columnSelected = sel->isColumnSelected(index.column(), QModelIndex());
    }
    // Every state's text is checked against its background (ReadableOn), so
    // a colour choice can never leave a cell unreadable.
    const QColor text = look_->rowFore.isValid() ? look_->rowFore : view_->palette().color(QPalette::Text);
    if (ctx.AnySelected()) {
        ctx.backColor = look_->selectedBack.isValid() ? look_->selectedBack
                                                      : view_->palette().color(QPalette::Highlight);
        ctx.foreColor = ReadableOn(ctx.backColor, look_->selectedFore.isValid()
                                                      ? look_->selectedFore
                                                      : view_->palette().color(QPalette::HighlightedText));
    } else if (index == view_->currentIndex() && view_->hasFocus() && look_->activeBack.isValid()) {
        ctx.backColor = look_->activeBack;
        ctx.foreColor = ReadableOn(ctx.backColor, look_->activeFore.isValid() ? look_->activeFore : text);
    } else {
        ctx.backColor = index.row() % 2 == 1 ? look_->gridBack : look_->rowBack;
        ctx.foreColor = ReadableOn(ctx.backColor, text);
    }
    return ctx;
}

QWidget* TableGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (editor) {
        // The cell being edited: the rows' own background, readable text,
        // framed in the border colour so it stands out from its neighbours.
        const QColor back = look_->rowBack;
        const QColor text = ReadableOn(back, look_->rowFore.isValid() ? look_->rowFore
                                                                      : view_->palette().color(QPalette::Text));
        // Text selected in the editor wears the selection's colours.
        const QColor marked = look_->selectedBack.isValid() ? look_->selectedBack
                                                            : view_->palette().color(QPalette::Highlight);
        editor->setStyleSheet(QStringLiteral("background-color: %1; color: %2; border: 1px solid %3;"
                                             " selection-background-color: %4; selection-color: %5;")
                                  .arg(back.name(), text.name(), look_->lineColor.name(), marked.name(),
                                       ReadableOn(marked, text).name()));
    }
    return editor;
}

void TableGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (!index.isValid())
        return;
    GridDrawContext ctx = ContextOf(painter, option.rect, index, option.state & QStyle::State_Selected);
    painter->save();
    painter->setClipRect(option.rect);
    bool cancel = false;
    if (filter_)
        filter_->BeforeDraw(ctx, cancel);
    if (!cancel) {
        bool skip = false;
        if (filter_)
            filter_->BeforeDrawBackground(ctx, skip);
        if (!skip)
            painter->fillRect(option.rect, ctx.backColor);

        skip = false;
        if (filter_)
            filter_->BeforeDrawBorders(ctx, skip);
        if (!skip) {
            painter->setPen(look_->lineColor);
            painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
            painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        }

        skip = false;
        if (filter_)
            filter_->BeforeDrawForeground(ctx, skip);
        if (!skip) {
            const QRect textRect = option.rect.adjusted(kTextPadding, 0, -kTextPadding, 0);
            const QString text = option.fontMetrics.elidedText(QString::fromStdString(ctx.value), Qt::ElideRight,
                                                               textRect.width());
            painter->setPen(ctx.foreColor);
            painter->setFont(option.font);
            const auto align = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
            painter->drawText(textRect, int(align) | Qt::TextSingleLine, text);
        }
        if (filter_)
            filter_->AfterDraw(ctx);
    }
    painter->restore();
}

} // namespace tollivex::platform
