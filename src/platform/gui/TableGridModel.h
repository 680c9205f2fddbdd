#pragma once
// The item model over the bound table: the grid's rows and cells, column
// captions and editing rights. Values written into cells are kept beside the
// table, so they show at once without a rebuild.

#include "platform/gui/GridControl.h"

#include <QAbstractTableModel>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace tollivex::platform {

class TableGridModel final : public QAbstractTableModel {
public:
    TableGridModel(const GridColumns& columns, QObject* parent = nullptr);

    const GridColumns& Columns() const { return columns_; }
    int ColumnCount() const { return static_cast<int>(columns_.keys.size()); }

    /// Binds a new table (none shows no rows); written values are dropped.
    void Bind(std::shared_ptr<const GridTable> table);
    bool IsBound() const { return table_ != nullptr; }

    /// Display text of a cell, "" outside the table.
    const std::string& Text(int row, int column) const;
    /// The cell's tool tip: the row's failure reason (while the status cell
    /// shows what the table gave it), or else its note, under the cell's whole
    /// text for a column with full-text tips; "" for none.
    std::string Tip(int row, int column) const;
    /// Writes a value that shows at once.
    void Write(int row, int column, const std::string& value);
    /// Sets the row's note ("" for none): it follows the failure reason in the
    /// tool tip of every cell of the row, and is read out with them.
    void WriteNote(int row, const std::string& note);

    void SetCaption(int column, const std::string& caption);
    const std::string& Caption(int column) const;
    void SetEditable(int column, bool editable);
    bool IsEditable(int column) const;
    void SetFullTextTip(int column, bool on);
    /// What a screen reader hears for a column ("Download Status") and for
    /// a cell, with its column ("Download Status: 45%").
    QString ColumnName(int column) const;
    QString AccessibleText(int row, int column) const;
    void SetCentered(int column, bool on);

    /// Asked before an edited value is stored (true refuses it) and told after.
    std::function<bool(int row, int column, const std::string& value)> beforeUpdate;
    std::function<void(int row, int column)> afterUpdate;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    long long Key(int row, int column) const { return static_cast<long long>(row) * ColumnCount() + column; }
    bool InTable(int row, int column) const;

    GridColumns columns_;
    std::shared_ptr<const GridTable> table_;
    std::unordered_map<long long, std::string> written_;
    std::unordered_map<int, std::string> notes_;
    std::vector<std::string> captions_;
    std::vector<bool> editable_;
    std::vector<bool> tips_;
    std::vector<bool> centered_;
};

} // namespace tollivex::platform
