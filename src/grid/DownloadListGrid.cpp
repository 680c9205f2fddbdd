#include "grid/DownloadListGrid.h"

#include "queue/DownloadListTable.h"

#include <utility>

namespace tollivex {

namespace {
class DownloadListRows final : public platform::GridTable {
public:
    explicit DownloadListRows(std::shared_ptr<const DownloadListTable> table) : table_(std::move(table)) {}

    std::size_t RowCount() const override { return table_->RowCount(); }
    const std::string& Text(std::size_t row, int column) const override
    {
        return table_->RowAt(row).text[static_cast<std::size_t>(column)];
    }
    const std::string& Reason(std::size_t row) const override { return table_->RowAt(row).reason; }

private:
    std::shared_ptr<const DownloadListTable> table_;
};
} // namespace

const platform::GridColumns& DownloadGridColumns()
{
    static const platform::GridColumns columns = [] {
        platform::GridColumns made;
        for (const DownloadListColumnDef& column : DownloadListColumns())
            made.keys.emplace_back(column.key);
        made.number = colID;
        made.address = colVideoURL;
        made.name = colFileName;
        made.status = colStatus;
        return made;
    }();
    return columns;
}

std::shared_ptr<const platform::GridTable> GridTableOf(std::shared_ptr<const DownloadListTable> table)
{
    if (!table)
        return nullptr;
    return std::make_shared<DownloadListRows>(std::move(table));
}

} // namespace tollivex
