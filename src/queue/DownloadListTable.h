#pragma once
// The download list table: the in-memory record set the grid shows, rebuilt
// from the queue after every change.

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace tollivex {

/// Column positions of the table (and of the grid).
enum DownloadListColumn : int { colID = 0, colVideoURL = 1, colFileName = 2, colStatus = 3, colFileSize = 4 };
inline constexpr int kDownloadListColumns = 5;

struct DownloadListColumnDef {
    const char* key; // the column name, also the grid's column key
    int width;       // width in characters; 0 for the integer column
};

/// ID (integer), Video_URL (220), FileName (100), Status (120), FileSize (10).
const std::array<DownloadListColumnDef, kDownloadListColumns>& DownloadListColumns();

/// Video_URL is cut to this many characters in the table (the queue keeps all).
inline constexpr size_t kTableUrlLength = 219;

class DownloadListTable {
public:
    struct Row {
        int ID = 0;
        std::array<std::string, kDownloadListColumns> text; // display texts; text[colID] is ID in decimal
        std::string reason; // why the item failed or stopped, shown as the row's tool tip; "" for none
    };

    /// Appends an empty row and returns it.
    Row& AddNew();
    size_t RowCount() const { return rows_.size(); }
    const Row& RowAt(size_t index) const { return rows_.at(index); }
    Row& RowAt(size_t index) { return rows_.at(index); }
    /// Sets one field of a row; the ID column takes its text as the number.
    void SetField(size_t row, int column, const std::string& value);
    /// Position of a column by its key, or -1.
    static int ColumnOfKey(const std::string& key);

private:
    std::vector<Row> rows_;
};

/// The current table (rsDownloadList), none before the first rebuild.
extern std::shared_ptr<DownloadListTable> rsDownloadList;

} // namespace tollivex
