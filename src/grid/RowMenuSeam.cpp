// The row menu's test seam: in a file of its own, so that only programs that
// call it (tests) link it; the shipped program carries no setter.

#include "grid/RowMenuWindow.h"

namespace tollivex {

void SetRowMenuChooser(std::function<QAction*(QMenu& menu)> chooser) { RowMenuChooser() = std::move(chooser); }

} // namespace tollivex
