#pragma once
// The colours the grid paints with, set through its appearances, and the rule
// that keeps every cell's text readable on its background.

#include <QColor>

namespace tollivex::platform {

struct TableGridLook {
    QColor gridBack{255, 255, 255};  // the area without rows, and every second row
    QColor lineColor{192, 192, 192}; // cell borders, the frame and the edited cell's frame
    QColor selectedBack;             // selected cells and rows
    QColor selectedFore;
    QColor activeBack; // the current cell while the grid has the focus
    QColor activeFore;
    QColor rowBack{255, 255, 255}; // every other cell, and the editor
    QColor rowFore;                // invalid: the palette's text colour
    QColor headerBack;             // column headers
    QColor headerFore;
    QColor selectorBack; // row selectors (they carry no text)
    QColor selectorFore;
};

/// Relative luminance of a colour (sRGB, as the contrast guidelines define it).
double Luminance(const QColor& colour);
/// Contrast ratio of two colours, 1 (none) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);
/// Text stays readable on `back`: `wanted` when it reaches 4.5:1 there,
/// otherwise black or white, whichever stands out more.
QColor ReadableOn(const QColor& back, const QColor& wanted);
/// The status cell's bar colour: the highlight carries the percentage in the
/// highlighted-text colour `text`, and the other way round, so it is darkened
/// (lightened under dark text) until the two stand 4.5:1 apart (the desktop's
/// default blue on white is 3.7:1). Only the bar wears it: menus, message
/// boxes and selected text keep the desktop's own highlight.
QColor ReadableHighlight(const QColor& highlight, const QColor& text);

} // namespace tollivex::platform
