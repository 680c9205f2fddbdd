#pragma once
// The list's context menu: which of its entries apply to the rows it is for.
// Windowless.

#include <string>
#include <vector>

namespace tollivex {

enum class RowMenuChoice { None, Open, OpenContainingFolder, CopyPageAddress, Remove };

/// What the menu needs to know of one row.
struct RowFacts {
    std::string status;
    bool fileExists = false; // the item's finished file is in its folder
};

/// Which entries are available; the others are shown unavailable.
struct RowMenuState {
    bool open = false;
    bool openContainingFolder = false;
    bool copyPageAddress = false;
    bool remove = false;
    bool operator==(const RowMenuState& o) const
    {
        return open == o.open && openContainingFolder == o.openContainingFolder &&
               copyPageAddress == o.copyPageAddress && remove == o.remove;
    }
};

/// "Open" and "Open Containing Folder" need a "Complete" row whose file is
/// there; "Copy Page Address" and "Remove" any row.
RowMenuState RowMenuFor(const std::vector<RowFacts>& rows);

} // namespace tollivex
