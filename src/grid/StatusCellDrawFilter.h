#pragma once
// The main window's draw filter for the grid: paints a numeric status as a
// progress bar.

namespace tollivex {

class StatusCellDrawFilter {
public:
    virtual ~StatusCellDrawFilter() = default;
};

} // namespace tollivex
