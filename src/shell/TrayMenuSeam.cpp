// The tray menu's test seam: in a file of its own, so that only programs that
// call it (tests) link it; the shipped program carries no setter.

#include "shell/TrayMenuWindow.h"

namespace tollivex {

void SetTrayMenuChooser(std::function<TrayMenuChoice(const frmMenuForm&)> chooser)
{
    TrayMenuChooser() = std::move(chooser);
}

} // namespace tollivex
