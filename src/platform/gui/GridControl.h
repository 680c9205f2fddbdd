#pragma once
// The grid control as the system's code uses it: bound to a table of rows
// that the layer owning them fills, rows and cells, selection, column layout,
// edit notifications, a draw filter, its window, and row scrolling.
// Implemented on QTableView.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tollivex::platform {

class GridDrawFilter;

/// The columns a grid shows, fixed for its life: each column's key (also its
/// caption until one is set), and the columns the grid treats in ways of
/// their own (-1 for none).
struct GridColumns {
    /// At most 8 columns.
    std::vector<std::string> keys;
    /// Numbers the rows: a screen reader calls it "Number" while its caption is blank.
    int number = -1;
    /// Tells a row's item apart across bindings: its status changes are announced.
    int address = -1;
    /// Names the row's item in announcements; a row made current puts the cursor here.
    int name = -1;
    /// The item's status: announced, a bare number read as a percentage; a
    /// value written into it outdates the row's reason.
    int status = -1;
};

/// The rows a grid is bound to. The grid reads them while it is bound and
/// never changes them.
class GridTable {
public:
    virtual ~GridTable() = default;
    virtual std::size_t RowCount() const = 0;
    /// The display text of a cell (`column` one of the grid's columns).
    virtual const std::string& Text(std::size_t row, int column) const = 0;
    /// Why the row's item failed or stopped, "" for nothing: its tool tip.
    virtual const std::string& Reason(std::size_t row) const = 0;
};

/// A row of one binding. Binding a new table makes older references stale:
/// reads through them give nothing and writes are ignored.
struct GridRow {
    int index = -1;
    std::uint64_t binding = 0;
    bool operator==(const GridRow& o) const { return index == o.index && binding == o.binding; }
};

struct GridCell {
    GridRow row;
    int column = -1;
};

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};

/// Which appearance a colour setting applies to: the grid itself (back: the
/// area without rows and every second row, third: borders), then the band's
/// default groups: 1 row selectors, 2 the current cell while the grid has the
/// focus, 3 every other cell and the editor, 4 selected cells and rows,
/// 5 column headers. A fore colour that would not stand out 4.5:1 on its
/// back colour gives way to black or white.
enum class GridAppearance { Grid, Group1, Group2, Group3, Group4, Group5 };

/// Per-column presentation switches.
enum class GridColumnOption {
    FullTextTip, // a text cut by the column width shows whole in a tool tip
    Centered,    // the cell text is centred
};

/// Grid-level presentation switches.
enum class GridOption {
    RowSelectors,        // a handle before each row selects the whole row
    HeaderSelectsColumn, // a click on a column header selects the column
};

struct GridHandlers {
    /// Raised when the grid lays itself out for newly bound data.
    std::function<void()> InitializeLayout;
    /// Before an edited value is accepted; setting cancel refuses the edit.
    std::function<void(const GridCell& cell, const std::string& newValue, bool& cancel)> BeforeCellUpdate;
    /// After the edited value was accepted.
    std::function<void(const GridCell& cell)> AfterCellUpdate;
    /// The Delete key in the grid (not while a cell is being edited).
    std::function<void()> DeletePressed;
    /// The context menu of the rows (right button on a row, the menu key or
    /// Shift+F10), to pop up at this screen position. The rows it is for are
    /// the selected ones: a row clicked outside the selection, or the current
    /// row when nothing of it is selected, has become the selection.
    std::function<void(int x, int y)> ContextMenu;
};

class GridControl {
public:
    virtual ~GridControl() = default;

    // Binding: the grid shows the table's rows in table order; none shows no rows.
    virtual void SetDataSource(std::shared_ptr<const GridTable> table) = 0;

    // Rows (none when empty).
    virtual std::optional<GridRow> FirstRow() const = 0;
    virtual std::optional<GridRow> LastRow() const = 0;
    virtual std::optional<GridRow> NextRow(const GridRow& row) const = 0;
    virtual std::optional<GridRow> PreviousRow(const GridRow& row) const = 0;
    virtual bool IsRowSelected(const GridRow& row) const = 0;
    virtual void SetRowSelected(const GridRow& row, bool selected) = 0;

    // Cells by column position.
    virtual std::string CellText(const GridCell& cell) const = 0;
    /// The tool tip the cell shows, "" for none.
    virtual std::string CellTip(const GridCell& cell) const = 0;
    /// Writes a value that shows at once, without a rebuild.
    virtual void SetCellValue(const GridCell& cell, const std::string& value) = 0;
    /// A line about the row (how its download goes) added to the tool tip of
    /// its cells and read out with them; "" removes it. A rebind drops it.
    virtual void SetRowNote(const GridRow& row, const std::string& note) = 0;
    virtual bool IsCellSelected(const GridCell& cell) const = 0;
    virtual void SetCellSelected(const GridCell& cell, bool selected) = 0;
    virtual std::string ColumnKey(int column) const = 0;

    /// The selected cells in the order they were selected (each selection
    /// range top-left to bottom-right); a selected row contributes its cells.
    /// Cells the program selects within one event round are gathered into
    /// ranges and so come top to bottom, after those selected before them.
    virtual std::vector<GridCell> SelectedCells() const = 0;

    // Layout.
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void SetColumnCaption(int column, const std::string& caption) = 0;
    virtual void SetColumnWidthTwips(int column, float twips) = 0;
    virtual void SetColumnEditable(int column, bool editable) = 0;
    virtual void SetAppearanceColors(GridAppearance which, std::optional<Rgb> back, std::optional<Rgb> fore,
                                     std::optional<Rgb> third) = 0;
    virtual void SetColumnOption(int column, GridColumnOption option, bool on) = 0;
    virtual void SetGridOption(GridOption option, bool on) = 0;

    // Notifications and drawing.
    virtual void SetHandlers(GridHandlers handlers) = 0;
    virtual void SetDrawFilter(GridDrawFilter* filter) = 0;

    // Window.
    virtual void SetVisible(bool visible) = 0;
    virtual bool IsVisible() const = 0;
    virtual void BringToFront() = 0;
    virtual void SetGeometry(int left, int top, int width, int height) = 0;
    /// True when the keyboard focus of its window is in the grid (or its editor).
    virtual bool IsActiveControl() const = 0;
    /// Makes the grid its window's active control.
    virtual void Activate() = 0;
    /// Makes the row the current one and the only one selected, and scrolls it into view.
    virtual void MakeCurrentRow(const GridRow& row) = 0;

    /// Scrolls the first row scroll region one row: 0 toward the top, 1 toward the bottom.
    virtual void ScrollRowRegion(int action) = 0;
};

} // namespace tollivex::platform
