#include "queue/DownloadListTable.h"

#include <cstdlib>

namespace tollivex {

std::shared_ptr<DownloadListTable> rsDownloadList;

const std::array<DownloadListColumnDef, kDownloadListColumns>& DownloadListColumns()
{
    static const std::array<DownloadListColumnDef, kDownloadListColumns> columns{{
        {"ID", 0},
        {"Video_URL", 220},
        {"FileName", 100},
        {"Status", 120},
        {"FileSize", 10},
    }};
    return columns;
}

DownloadListTable::Row& DownloadListTable::AddNew()
{
    rows_.emplace_back();
    return rows_.back();
}

void DownloadListTable::SetField(size_t row, int column, const std::string& value)
{
    Row& r = rows_.at(row);
    if (column == colID) {
        r.ID = std::atoi(value.c_str());
        r.text[colID] = std::to_string(r.ID);
        return;
    }
    r.text.at(static_cast<size_t>(column)) = value;
}

int DownloadListTable::ColumnOfKey(const std::string& key)
{
    const auto& columns = DownloadListColumns();
    for (int i = 0; i < kDownloadListColumns; ++i) {
        if (key == columns[static_cast<size_t>(i)].key)
            return i;
    }
    return -1;
}

} // namespace tollivex
