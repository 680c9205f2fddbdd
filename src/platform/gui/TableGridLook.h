#pragma once
// The colours the grid paints with, set through its appearances.

#include <QColor>

namespace tollivex::platform {

struct TableGridLook {
    QColor gridBack{255, 255, 255};    // the area without rows
    QColor lineColor{192, 192, 192};   // cell borders and the frame
    QColor selectedBack;               // selected cells and rows
    QColor selectedFore;
    QColor activeBack;                 // the current cell while the grid has the focus
    QColor activeFore;
    QColor rowBack{255, 255, 255};     // every other cell
    QColor rowFore;                    // invalid: the palette's text colour
    QColor headerBack;                 // column headers
    QColor selectorBack;               // row selectors
};

} // namespace tollivex::platform
