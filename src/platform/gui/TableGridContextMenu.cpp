// The rows' context menu as the grid asks for it: where, and for which rows.
#include "platform/gui/TableGrid.h"

#include "platform/gui/TableGridModel.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QTableView>

namespace tollivex::platform {

void TableGrid::RequestContextMenu(const QModelIndex& index, const QPoint& globalPosition)
{
    if (!index.isValid() || !handlers_.ContextMenu)
        return;
    FlushSelection();
    QItemSelectionModel* selection = view_->selectionModel();
    bool rowSelected = false;
    for (int column = 0; column < model_->ColumnCount() && !rowSelected; ++column)
        rowSelected = selection->isSelected(model_->index(index.row(), column));
    // As in a file list: a row outside the selection becomes the selection.
    if (!rowSelected) {
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else if (view_->currentIndex().row() != index.row()) {
        selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    }
    handlers_.ContextMenu(globalPosition.x(), globalPosition.y());
}

bool TableGrid::HandleContextMenu(QObject* watched, QEvent* event)
{
    // The rows' menu: the right button over a row, or from the keyboard (the
    // menu key, Shift+F10) for the current row, below its current cell.
    if (event->type() == QEvent::ContextMenu && frame_ && (watched == view_ || watched == view_->viewport())) {
        const auto* menu = static_cast<QContextMenuEvent*>(event);
        if (menu->reason() == QContextMenuEvent::Mouse) {
            RequestContextMenu(view_->indexAt(view_->viewport()->mapFromGlobal(menu->globalPos())), menu->globalPos());
        } else {
            QModelIndex current = view_->currentIndex();
            FlushSelection();
            if (!current.isValid() && view_->selectionModel()->hasSelection())
                current = view_->selectionModel()->selectedIndexes().front();
            RequestContextMenu(current, view_->viewport()->mapToGlobal(view_->visualRect(current).bottomLeft()));
        }
        return true;
    }
    if (event->type() == QEvent::KeyPress && frame_ && watched == view_) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F10 && (key->modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier) {
            QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(), QCursor::pos());
            return HandleContextMenu(view_, &menu);
        }
    }
    return false;
}

} // namespace tollivex::platform
