#pragma once
// Menu resources as data: the main menu 128 and the panes' context menus.
// The user interface builds its menus from these; a context menu's first
// popup is the one shown.
#include <vector>

struct MenuItemData {
    enum class Kind { Command, Separator, Popup };
    Kind kind = Kind::Command;
    unsigned id = 0;                  // command id; 0 for separators and popups
    const char* text = "";            // "\t" separates the shortcut shown beside the text
    std::vector<MenuItemData> items;  // a popup's items
};

/// The top-level items of menu resource id, or nullptr when there is none.
const std::vector<MenuItemData>* LoadMenuResource(unsigned id);
