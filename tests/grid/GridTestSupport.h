#pragma once
// A real main window whose queue is filled item by item and shown in its real
// grid, with helpers that read the grid back and compare it with the queue.

#include "platform/gui/TableGrid.h"
#include "queue/DownloadListTable.h"
#include "queue/DownloadQueue.h"
#include "shell/FormFactory.h"

#include <QAbstractItemModel>
#include <QTableView>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tollivex::test {

/// The page address of a test item named by a short label.
inline std::string AddressOf(const std::string& label) { return "http://www.youtube.com/watch?v=" + label; }

class GridForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        DownloadQueue.clear();
        rsDownloadList.reset();
        form = std::make_unique<frmMain>(CreateFormControls());
        grid = &static_cast<platform::TableGrid&>(form->DownloadGrid());
    }
    void TearDown() override
    {
        form.reset();
        DownloadQueue.clear();
        rsDownloadList.reset();
    }

    /// Queues one item per label, saved as label.flv, with the given statuses
    /// (missing ones are "Waiting"), and shows the list.
    void Queue(const std::vector<std::string>& labels, const std::vector<std::string>& statuses = {})
    {
        for (size_t i = 0; i < labels.size(); ++i) {
            std::string status = i < statuses.size() ? statuses[i] : std::string();
            std::string size = "1.5 MB";
            ASSERT_TRUE(AddItem(AddressOf(labels[i]), labels[i] + ".flv", status, size));
        }
        form->FillDownloadList();
    }

    /// The grid row at a view position (none past the end).
    std::optional<platform::GridRow> Row(int position) const
    {
        auto row = grid->FirstRow();
        for (int i = 0; row && i < position; ++i)
            row = grid->NextRow(*row);
        return row;
    }
    std::string Cell(int position, int column) const
    {
        const auto row = Row(position);
        return row ? grid->CellText(platform::GridCell{*row, column}) : std::string("<no row>");
    }
    int GridRows() const
    {
        int rows = 0;
        for (auto row = grid->FirstRow(); row; row = grid->NextRow(*row))
            ++rows;
        return rows;
    }
    void SelectCell(int position, int column) const
    {
        grid->SetCellSelected(platform::GridCell{*Row(position), column}, true);
    }
    void SelectRow(int position) const { grid->SetRowSelected(*Row(position), true); }

    /// The labels of the queued items, in queue order.
    static std::vector<std::string> Labels()
    {
        std::vector<std::string> labels;
        const std::string prefix = AddressOf("");
        labels.reserve(DownloadQueue.size());
        for (const DownloadItem& item : DownloadQueue)
            labels.push_back(item.Video_URL.substr(0, prefix.size()) == prefix ? item.Video_URL.substr(prefix.size())
                                                                               : item.Video_URL);
        return labels;
    }

    /// Types a value into a FileName cell as the editor hands it to the grid;
    /// true when the grid took it.
    bool Rename(int position, const std::string& value) const
    {
        QAbstractItemModel* model = grid->View()->model();
        return model->setData(model->index(position, colFileName), QString::fromStdString(value));
    }

    /// IDs run 1..n in queue order and every grid row shows its item's fields.
    ::testing::AssertionResult QueueAndGridAgree() const
    {
        for (size_t i = 0; i < DownloadQueue.size(); ++i) {
            if (DownloadQueue[i].ID != static_cast<int>(i + 1))
                return ::testing::AssertionFailure() << "item " << i << " has ID " << DownloadQueue[i].ID;
        }
        const int rows = GridRows();
        if (rows != static_cast<int>(DownloadQueue.size()))
            return ::testing::AssertionFailure()
                   << "grid shows " << rows << " rows for " << DownloadQueue.size() << " items";
        for (int r = 0; r < rows; ++r) {
            const DownloadItem& item = DownloadQueue[static_cast<size_t>(r)];
            const std::vector<std::string> want{std::to_string(item.ID), item.Video_URL, item.FileName, item.Status,
                                                item.FileSize};
            for (int c = 0; c < kDownloadListColumns; ++c) {
                if (Cell(r, c) != want[static_cast<size_t>(c)])
                    return ::testing::AssertionFailure()
                           << "row " << r << " column " << c << " shows '" << Cell(r, c) << "', the item holds '"
                           << want[static_cast<size_t>(c)] << "'";
            }
        }
        return ::testing::AssertionSuccess();
    }

    std::unique_ptr<frmMain> form;
    platform::TableGrid* grid = nullptr;
};

} // namespace tollivex::test
