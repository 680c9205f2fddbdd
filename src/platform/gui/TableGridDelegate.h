#pragma once
// Paints each cell of the grid in phases (background, borders, text) and lets
// the installed draw filter take over or skip any phase.

#include "platform/gui/GridDrawFilter.h"
#include "platform/gui/TableGridLook.h"

#include <QStyledItemDelegate>

#include <functional>

class QTableView;

namespace tollivex::platform {

class TableGridModel;

class TableGridDelegate final : public QStyledItemDelegate {
public:
    TableGridDelegate(QTableView* view, const TableGridModel* model, const TableGridLook* look,
                      std::function<GridCell(int row, int column)> cellOf);

    void SetFilter(GridDrawFilter* filter) { filter_ = filter; }
    GridDrawFilter* Filter() const { return filter_; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    /// The draw context of one cell at the given rectangle.
    GridDrawContext ContextOf(QPainter* painter, const QRect& rect, const QModelIndex& index, bool selected) const;

private:
    QTableView* view_;
    const TableGridModel* model_;
    const TableGridLook* look_;
    std::function<GridCell(int, int)> cellOf_;
    GridDrawFilter* filter_ = nullptr;
};

} // namespace tollivex::platform
