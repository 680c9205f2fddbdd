#include "platform/gui/TableGridModel.h"

#include <algorithm>

namespace tollivex::platform {

namespace {
const std::string kNoText;
}

TableGridModel::TableGridModel(const GridColumns& columns, QObject* parent)
    : QAbstractTableModel(parent),
      columns_(columns),
      captions_(columns.keys),
      editable_(columns.keys.size()),
      tips_(columns.keys.size()),
      centered_(columns.keys.size())
{
}

bool TableGridModel::InTable(int row, int column) const
{
    return table_ && row >= 0 && column >= 0 && column < ColumnCount() && static_cast<size_t>(row) < table_->RowCount();
}

void TableGridModel::Bind(std::shared_ptr<const GridTable> table)
{
    beginResetModel();
    table_ = std::move(table);
    written_.clear();
    notes_.clear();
    endResetModel();
}

const std::string& TableGridModel::Text(int row, int column) const
{
    if (!InTable(row, column))
        return kNoText;
    if (!written_.empty()) {
        auto it = written_.find(Key(row, column));
        if (it != written_.end())
            return it->second;
    }
    return table_->Text(static_cast<size_t>(row), column);
}

void TableGridModel::Write(int row, int column, const std::string& value)
{
    if (!InTable(row, column))
        return;
    written_[Key(row, column)] = value;
    const QModelIndex at = index(row, column);
    emit dataChanged(at, at, {Qt::DisplayRole, Qt::EditRole});
}

void TableGridModel::WriteNote(int row, const std::string& note)
{
    if (!table_ || row < 0 || static_cast<size_t>(row) >= table_->RowCount())
        return;
    auto found = notes_.find(row);
    if (found != notes_.end() ? found->second == note : note.empty())
        return;
    if (note.empty())
        notes_.erase(found);
    else
        notes_[row] = note;
    emit dataChanged(index(row, 0), index(row, ColumnCount() - 1), {Qt::ToolTipRole, Qt::AccessibleDescriptionRole});
}

std::string TableGridModel::Tip(int row, int column) const
{
    if (!InTable(row, column))
        return {};
    // A status written since (progress of a new attempt) outdates the reason.
    const bool statusRewritten = columns_.status >= 0 && written_.count(Key(row, columns_.status)) != 0;
    std::string reason = statusRewritten ? std::string() : table_->Reason(static_cast<size_t>(row));
    if (reason.empty() && !notes_.empty()) {
        const auto note = notes_.find(row);
        if (note != notes_.end())
            reason = note->second;
    }
    if (!tips_[static_cast<size_t>(column)])
        return reason;
    const std::string& text = Text(row, column);
    return reason.empty() || text.empty() ? text : text + "\n" + reason;
}

void TableGridModel::SetCaption(int column, const std::string& caption)
{
    if (column < 0 || column >= ColumnCount())
        return;
    captions_[static_cast<size_t>(column)] = caption;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

const std::string& TableGridModel::Caption(int column) const
{
    if (column < 0 || column >= ColumnCount())
        return kNoText;
    return captions_[static_cast<size_t>(column)];
}

void TableGridModel::SetEditable(int column, bool editable)
{
    if (column < 0 || column >= ColumnCount())
        return;
    editable_[static_cast<size_t>(column)] = editable;
}

bool TableGridModel::IsEditable(int column) const
{
    return column >= 0 && column < ColumnCount() && editable_[static_cast<size_t>(column)];
}

void TableGridModel::SetFullTextTip(int column, bool on)
{
    if (column >= 0 && column < ColumnCount())
        tips_[static_cast<size_t>(column)] = on;
}

void TableGridModel::SetCentered(int column, bool on)
{
    if (column < 0 || column >= ColumnCount())
        return;
    centered_[static_cast<size_t>(column)] = on;
    if (rowCount() > 0)
        emit dataChanged(index(0, column), index(rowCount() - 1, column), {Qt::TextAlignmentRole});
}

int TableGridModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !table_)
        return 0;
    return static_cast<int>(table_->RowCount());
}

int TableGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount(); }

QVariant TableGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const size_t column = static_cast<size_t>(index.column());
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return QString::fromStdString(Text(index.row(), index.column()));
    if (role == Qt::AccessibleTextRole)
        return AccessibleText(index.row(), index.column());
    // Why an item failed, and what to do, is read out with each of its cells.
    if (role == Qt::AccessibleDescriptionRole)
        return QString::fromStdString(Tip(index.row(), columns_.status));
    if (role == Qt::ToolTipRole) {
        const std::string tip = Tip(index.row(), index.column());
        return tip.empty() ? QVariant() : QVariant(QString::fromStdString(tip));
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(
            Qt::Alignment((centered_[column] ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter));
    return {};
}

bool TableGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !IsEditable(index.column()))
        return false;
    const int row = index.row();
    const int column = index.column();
    const std::string text = value.toString().toStdString();
    if (beforeUpdate && beforeUpdate(row, column, text))
        return false;
    // The check may have rebuilt or unbound the table meanwhile.
    if (row >= rowCount())
        return false;
    Write(row, column, text);
    if (afterUpdate)
        afterUpdate(row, column);
    return true;
}

Qt::ItemFlags TableGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (IsEditable(index.column()))
        f |= Qt::ItemIsEditable;
    return f;
}

QString TableGridModel::ColumnName(int column) const
{
    // The number column has a blank caption; a screen reader needs a word.
    const std::string& caption = Caption(column);
    if (caption.find_first_not_of(' ') == std::string::npos)
        return column == columns_.number ? QStringLiteral("Number")
                                         : QString::fromStdString(columns_.keys[static_cast<size_t>(column)]);
    return QString::fromStdString(caption);
}

QString TableGridModel::AccessibleText(int row, int column) const
{
    QString text = QString::fromStdString(Text(row, column));
    // A bare number in the status column is drawn as a percentage.
    if (column == columns_.status && !text.isEmpty() &&
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }))
        text += QLatin1Char('%');
    return ColumnName(column) + QStringLiteral(": ") + text;
}

QVariant TableGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::AccessibleTextRole && orientation == Qt::Horizontal)
        return ColumnName(section);
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return QString::fromStdString(Caption(section));
    return QString(); // row selectors carry no text
}

} // namespace tollivex::platform
