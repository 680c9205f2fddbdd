#include "grid/RowMenuWindow.h"

#include "platform/window/DialogOwner.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

namespace tollivex {

std::function<QAction*(QMenu&)>& RowMenuChooser()
{
    static std::function<QAction*(QMenu&)> chooser;
    return chooser;
}

namespace {

void AddEntry(QMenu& menu, const QString& text, RowMenuChoice choice, bool available)
{
    QAction* action = menu.addAction(text);
    action->setData(static_cast<int>(choice));
    action->setEnabled(available);
}

} // namespace

std::unique_ptr<QMenu> BuildRowMenu(const RowMenuState& state)
{
    // Parented to the window, so it is the window's popup for the desktop
    // and for screen readers; the ampersands mark each entry's key.
    auto menu = std::make_unique<QMenu>(platform::DialogOwner());
    menu->setAccessibleName(QStringLiteral("Download list menu"));
    AddEntry(*menu, QStringLiteral("&Open"), RowMenuChoice::Open, state.open);
    AddEntry(*menu, QStringLiteral("Open Containing &Folder"), RowMenuChoice::OpenContainingFolder,
             state.openContainingFolder);
    AddEntry(*menu, QStringLiteral("&Copy Page Address"), RowMenuChoice::CopyPageAddress, state.copyPageAddress);
    menu->addSeparator();
    AddEntry(*menu, QStringLiteral("&Remove"), RowMenuChoice::Remove, state.remove);
    // Shown beside the entry: the list's own key for it.
    menu->actions().back()->setShortcut(QKeySequence(Qt::Key_Delete));
    menu->actions().back()->setShortcutVisibleInContextMenu(true);
    return menu;
}

RowMenuChoice PopupRowMenu(const RowMenuState& state, int x, int y)
{
    const std::unique_ptr<QMenu> menu = BuildRowMenu(state);
    QAction* chosen = RowMenuChooser() ? RowMenuChooser()(*menu) : menu->exec(QPoint(x, y));
    return chosen && chosen->isEnabled() ? static_cast<RowMenuChoice>(chosen->data().toInt()) : RowMenuChoice::None;
}

} // namespace tollivex
