#include "client/ui/shell/CommandMenu.h"

#include "client/resources/MenuResources.h"
#include "client/resources/StringTable.h"
#include "client/ui/shell/CommandTarget.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QVariant>

namespace {
constexpr const char* kCommandIdProperty = "commandId";

void AddItems(QMenu* menu, const std::vector<MenuItemData>& items)
{
    for (const MenuItemData& item : items) {
        switch (item.kind) {
        case MenuItemData::Kind::Separator: menu->addSeparator(); break;
        case MenuItemData::Kind::Popup: menu->addMenu(CreateMenu(item, menu)); break;
        case MenuItemData::Kind::Command: {
            QAction* action = menu->addAction(QString::fromUtf8(item.text));
            action->setProperty(kCommandIdProperty, item.id);
            action->setStatusTip(QString::fromUtf8(LoadResourceString(item.id)));
            break;
        }
        }
    }
}

}  // namespace

QMenu* CreateMenu(const MenuItemData& popup, QWidget* parent)
{
    auto* menu = new QMenu(QString::fromUtf8(popup.text), parent);
    AddItems(menu, popup.items);
    return menu;
}

void FillMenuBar(QMenuBar* bar, unsigned menuId)
{
    if (const auto* popups = LoadMenuResource(menuId)) {
        for (const MenuItemData& popup : *popups)
            bar->addMenu(CreateMenu(popup, bar));
    }
}

QMenu* LoadPopupMenu(unsigned menuId, QWidget* parent)
{
    const auto* popups = LoadMenuResource(menuId);
    if (!popups || popups->empty())
        return nullptr;
    return CreateMenu(popups->front(), parent);
}

unsigned CommandId(const QAction* action)
{
    return action ? action->property(kCommandIdProperty).toUInt() : 0;
}

QAction* FindCommandAction(const QWidget* menuOrBar, unsigned id)
{
    if (!menuOrBar)
        return nullptr;
    for (QAction* action : menuOrBar->actions()) {
        if (CommandId(action) == id)
            return action;
        if (QAction* found = FindCommandAction(action->menu(), id))
            return found;
    }
    return nullptr;
}

QMenu* FindPopup(const QMenuBar* bar, const QString& text)
{
    for (QAction* action : bar->actions()) {
        if (action->menu() && action->text() == text)
            return action->menu();
    }
    return nullptr;
}

void UpdateMenuCommands(QMenu* menu, ICommandTarget& target)
{
    for (QAction* action : menu->actions()) {
        const unsigned id = CommandId(action);
        if (id == 0)
            continue;
        const CCommandUpdate update = QueryCommand(target, id);
        action->setEnabled(update.Enabled());
        action->setCheckable(update.Checked());
        action->setChecked(update.Checked());
        if (update.Text())
            action->setText(*update.Text());
    }
}
