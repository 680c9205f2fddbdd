#pragma once
// The list's context menu on the screen: built from the available entries,
// popped up where it was asked for, and the chosen entry returned. Tests put
// a chooser in place of the user.

#include "grid/RowMenu.h"

#include <functional>
#include <memory>

class QAction;
class QMenu;

namespace tollivex {

/// "Open", "Open Containing Folder", "Copy Page Address" and "Remove", the
/// unavailable ones disabled; each action's data() holds its RowMenuChoice.
std::unique_ptr<QMenu> BuildRowMenu(const RowMenuState& state);

/// Pops the menu up at the screen position and waits for the user's choice.
RowMenuChoice PopupRowMenu(const RowMenuState& state, int x, int y);

/// Replaces the user (tests; defined in RowMenuSeam.cpp, which only tests
/// link): the chooser gets the menu as it would be shown and returns the
/// action chosen, or none. An empty chooser restores the popup.
void SetRowMenuChooser(std::function<QAction*(QMenu& menu)> chooser);
/// The chooser in force; empty in the program.
std::function<QAction*(QMenu&)>& RowMenuChooser();

} // namespace tollivex
