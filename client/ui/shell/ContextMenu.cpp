#include "client/ui/shell/ContextMenu.h"

#include "client/ui/shell/CommandMenu.h"
#include "client/ui/shell/CommandTarget.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

unsigned TrackContextMenu(unsigned menuId, const QPoint& at, ICommandTarget& target, QWidget* owner)
{
    const bool owned = owner != nullptr;
    QPointer<QWidget> alive(owner);
    QPointer<QMenu> menu(LoadPopupMenu(menuId, owner));
    if (!menu)
        return 0;
    UpdateMenuCommands(menu, target);
    const QAction* chosen = menu->exec(at);
    const unsigned id = chosen ? CommandId(chosen) : 0;
    delete menu.data();
    if ((owned && !alive) || id == 0)
        return 0;
    return RunCommand(target, id) ? id : 0;
}
