#pragma once
// Qt menus built from the menu resources. Every command action carries its
// command id, its status-bar prompt (the string of the same id) as status
// tip, and is enabled, checked or renamed by the enable queries of a command
// target before it is shown.
#include <QString>

class ICommandTarget;
class QAction;
class QMenu;
class QMenuBar;
class QWidget;
struct MenuItemData;

/// The top-level popups of menu resource menuId, appended to bar.
void FillMenuBar(QMenuBar* bar, unsigned menuId);
/// A new popup menu owned by parent: the first popup of menu resource menuId
/// (the context menus), or nullptr when there is no such menu.
QMenu* LoadPopupMenu(unsigned menuId, QWidget* parent);
/// A new popup menu owned by parent, made from one popup's data.
QMenu* CreateMenu(const MenuItemData& popup, QWidget* parent);

/// The command id of an action, 0 for separators, popups and foreign actions.
unsigned CommandId(const QAction* action);
/// The action of command id in menu or bar (searching their popups), or nullptr.
QAction* FindCommandAction(const QWidget* menuOrBar, unsigned id);
/// The popup whose title is text (the "&" included), or nullptr.
QMenu* FindPopup(const QMenuBar* bar, const QString& text);

/// Runs the enable query of every command in menu (not its popups) through
/// target and shows the answers: a command nobody handles is disabled.
void UpdateMenuCommands(QMenu* menu, ICommandTarget& target);
