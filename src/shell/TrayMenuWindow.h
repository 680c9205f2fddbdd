#pragma once
// The tray menu (frmMenu's TRAYMENU): built from the form's captions and check
// mark each time it opens, popped up at the mouse, and the chosen item
// returned. Tests put a chooser in place of the real popup.

#include <functional>
#include <memory>

class QMenu;

namespace tollivex {

struct frmMenuForm;

enum class TrayMenuChoice { None, WebVideo, Download, Monitor, Exit };

/// Pops the menu up at the mouse position and waits for the user's choice.
TrayMenuChoice PopupTrayMenu(const frmMenuForm& form);

/// Replaces the popup (tests; defined in TrayMenuSeam.cpp, which only tests
/// link); an empty chooser restores it.
void SetTrayMenuChooser(std::function<TrayMenuChoice(const frmMenuForm&)> chooser);
/// The chooser in force; empty in the program.
std::function<TrayMenuChoice(const frmMenuForm&)>& TrayMenuChooser();

/// The menu as it would be shown: items and separators in order; each item's
/// data() holds its TrayMenuChoice as an int.
std::unique_ptr<QMenu> BuildTrayMenu(const frmMenuForm& form);

} // namespace tollivex
