#include "shell/TrayMenuWindow.h"

#include "shell/frmMain.h"

#include <QAction>
#include <QCursor>
#include <QMenu>

namespace tollivex {

std::function<TrayMenuChoice(const frmMenuForm&)>& TrayMenuChooser()
{
    static std::function<TrayMenuChoice(const frmMenuForm&)> chooser;
    return chooser;
}

namespace {
void AddItem(QMenu& menu, const std::string& caption, TrayMenuChoice choice)
{
    QAction* action = menu.addAction(QString::fromStdString(caption));
    action->setData(static_cast<int>(choice));
}
} // namespace

std::unique_ptr<QMenu> BuildTrayMenu(const frmMenuForm& form)
{
    auto menu = std::make_unique<QMenu>();
    AddItem(*menu, form.mnuWebVideo, TrayMenuChoice::WebVideo);
    menu->addSeparator();
    AddItem(*menu, form.mnuDownload, TrayMenuChoice::Download);
    menu->addSeparator();
    AddItem(*menu, form.mnuMonitor, TrayMenuChoice::Monitor);
    QAction* monitor = menu->actions().back();
    monitor->setCheckable(true);
    monitor->setChecked(form.mnuMonitorChecked);
    menu->addSeparator();
    AddItem(*menu, form.mnuExit, TrayMenuChoice::Exit);
    return menu;
}

TrayMenuChoice PopupTrayMenu(const frmMenuForm& form)
{
    if (TrayMenuChooser())
        return TrayMenuChooser()(form);
    const std::unique_ptr<QMenu> menu = BuildTrayMenu(form);
    QAction* chosen = menu->exec(QCursor::pos());
    return chosen ? static_cast<TrayMenuChoice>(chosen->data().toInt()) : TrayMenuChoice::None;
}

} // namespace tollivex
