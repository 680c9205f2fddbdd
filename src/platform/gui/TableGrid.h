#pragma once
// The grid control on a QTableView: a caption line above a table view over
// the bound table, painted cell by cell by TableGridDelegate.
// Every SetDataSource starts a new binding, so older GridRow values go stale.

#include "platform/gui/GridControl.h"
#include "platform/gui/TableGridLook.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>

class QFrame;
class QLabel;
class QModelIndex;
class QPoint;
class QTableView;
class QWidget;

namespace tollivex::platform {

class TableGridModel;
class TableGridDelegate;
class StatusAnnouncer;

class TableGrid final : public QObject, public GridControl {
public:
    TableGrid(QWidget* parent, const GridColumns& columns);
    ~TableGrid() override;

    void SetDataSource(std::shared_ptr<const GridTable> table) override;

    std::optional<GridRow> FirstRow() const override;
    std::optional<GridRow> LastRow() const override;
    std::optional<GridRow> NextRow(const GridRow& row) const override;
    std::optional<GridRow> PreviousRow(const GridRow& row) const override;
    bool IsRowSelected(const GridRow& row) const override;
    void SetRowSelected(const GridRow& row, bool selected) override;

    std::string CellText(const GridCell& cell) const override;
    std::string CellTip(const GridCell& cell) const override;
    void SetCellValue(const GridCell& cell, const std::string& value) override;
    void SetRowNote(const GridRow& row, const std::string& note) override;
    bool IsCellSelected(const GridCell& cell) const override;
    void SetCellSelected(const GridCell& cell, bool selected) override;
    std::string ColumnKey(int column) const override;
    std::vector<GridCell> SelectedCells() const override;

    void SetCaption(const std::string& caption) override;
    void SetColumnCaption(int column, const std::string& caption) override;
    void SetColumnWidthTwips(int column, float twips) override;
    void SetColumnEditable(int column, bool editable) override;
    void SetAppearanceColors(GridAppearance which, std::optional<Rgb> back, std::optional<Rgb> fore,
                             std::optional<Rgb> third) override;

    void SetColumnOption(int column, GridColumnOption option, bool on) override;
    void SetGridOption(GridOption option, bool on) override;

    void SetHandlers(GridHandlers handlers) override;
    void SetDrawFilter(GridDrawFilter* filter) override;

    void SetVisible(bool visible) override;
    bool IsVisible() const override;
    void BringToFront() override;
    void SetGeometry(int left, int top, int width, int height) override;
    bool IsActiveControl() const override;
    void Activate() override;
    void MakeCurrentRow(const GridRow& row) override;
    void ScrollRowRegion(int action) override;

    /// Takes the keyboard focus as the window's Tab order reaches the grid:
    /// on the current cell, or the first row's when there is none. False
    /// (and no focus) while the grid is hidden or has no rows.
    bool TakeFocusFromTab();
    /// Tab (next) and Shift+Tab (not next) in the grid go to this handler
    /// instead of moving from cell to cell.
    void SetTabOutHandler(std::function<void(bool next)> handler) { tabOut_ = std::move(handler); }

    // For window code and tests.
    QWidget* Widget() const;
    QTableView* View() const { return view_; }
    TableGridModel* Model() const { return model_; }
    GridDrawFilter* DrawFilter() const;
    const TableGridLook& Look() const { return look_; }
    const StatusAnnouncer& Announcer() const { return *announcer_; }
    const std::string& Caption() const { return caption_; }
    std::uint64_t Binding() const { return binding_; }
    /// Pixels for a width in twips at the grid's DPI (15 twips per pixel at 96 DPI).
    int TwipsToPixels(float twips) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Asks for the rows' context menu for the row `index` points into; see GridHandlers.
    void RequestContextMenu(const QModelIndex& index, const QPoint& globalPosition);
    /// The right button, the menu key and Shift+F10 in the grid; true when taken.
    bool HandleContextMenu(QObject* watched, QEvent* event);
    bool IsCurrent(const GridRow& row) const;
    bool IsCurrent(const GridCell& cell) const;
    void ApplyHeaderLook();
    /// Selection changes made through the contract are gathered and applied
    /// in one step, so selecting thousands of rows one by one stays linear.
    void QueueSelection(int row, std::uint8_t columns, bool select);
    void FlushSelection() const;

    struct PendingSelection {
        bool select;
        std::map<int, std::uint8_t> columns; // row -> bit per column
    };
    mutable std::optional<PendingSelection> pending_;

    QPointer<QFrame> frame_;
    QLabel* captionLabel_ = nullptr;
    QTableView* view_ = nullptr;
    TableGridModel* model_ = nullptr;
    TableGridDelegate* delegate_ = nullptr;
    std::unique_ptr<StatusAnnouncer> announcer_;
    GridHandlers handlers_;
    std::function<void(bool next)> tabOut_;
    TableGridLook look_;
    std::string caption_;
    std::uint64_t binding_ = 0;
};

} // namespace tollivex::platform
