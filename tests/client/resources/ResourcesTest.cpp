#include "client/resources/Accelerators.h"
#include "client/resources/MenuResources.h"
#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(StringTableTest, TextsByIdAndMissingIds)
{
    struct Case {
        unsigned id;
        const char* text;
    };
    const Case cases[] = {
        {IDS_APP_TITLE, "Corvanta"},
        {IDS_MAINFRAME_TITLE, "Corvanta"},
        {IDS_IDLE_MESSAGE, "For Help, press F1"},
        {IDS_NOT_LOGGED_IN, "Not logged in."},
        {IDS_LOGGED_IN_FMT, "%s logged in."},
        {IDS_TAB_FAVORITES, "Favorites"},
        {IDS_STATE_BLANK, " "},
        {ID_FILE_LOGIN, "Log in to the Corvanta server"},
        {ID_VIEW_REFRESH, "Refresh the current page"},
        {ID_INDICATOR_SCRL, "SCRL"},
        {IDS_TYPE_ITEM, "Item"},
        {IDS_NOT_LOGGED_IN_PLAYLISTS, "You are not logged in.  Log in to create or edit playlists."},
        {IDS_NOT_LOGGED_IN_I_CREATED, "You are not logged in.  Log in to create or edit playlists"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_TRUE(HasResourceString(c.id));
        EXPECT_STREQ(LoadResourceString(c.id), c.text);
    }
    // Commands without a prompt, and numbers that are no string at all.
    for (unsigned id : {ID_FILE_LOGOUT, ID_HELP_CHECK_UPGRADE, 0u, 65535u}) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(HasResourceString(id));
        EXPECT_STREQ(LoadResourceString(id), "");
    }
    EXPECT_NE(std::string(LoadResourceString(IDS_WELCOME_FMT)).find("\n\r\n\rPlease send bug reports"),
              std::string::npos);
}

// Renders a popup as one line: ids, "-" for separators.
std::string Shape(const MenuItemData& popup)
{
    std::string out;
    for (const MenuItemData& item : popup.items)
        out += item.kind == MenuItemData::Kind::Separator ? std::string("- ") : std::to_string(item.id) + " ";
    return out;
}

TEST(MenuResourcesTest, MainMenuItemsAndSeparators)
{
    const auto* menu = LoadMenuResource(IDR_MAINFRAME);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->size(), 5u);
    const char* expected[] = {
        "32784 32826 32777 - 32776 32783 - 57665 ",
        "57643 - 57635 57634 57637 ",
        "59393 - 32788 32789 32790 32791 32792 32793 32794 32795 32796 32797 - 32834 32835 32836 ",
        "32778 32802 ",
        "57667 - 32786 32779 57664 ",
    };
    for (std::size_t i = 0; i < menu->size(); ++i) {
        SCOPED_TRACE((*menu)[i].text);
        EXPECT_EQ((*menu)[i].kind, MenuItemData::Kind::Popup);
        EXPECT_EQ(Shape((*menu)[i]), expected[i]);
    }
    EXPECT_STREQ((*menu)[2].items[11].text, "Tab 10");
    EXPECT_STREQ((*menu)[1].items[0].text, "&Undo\tCtrl+Z");
}

TEST(MenuResourcesTest, ContextMenusHaveOnePopupEach)
{
    for (unsigned id : {168u, 172u, 173u, 174u, 175u, 176u, 177u, 178u, 179u, 180u, 181u, 182u, 183u, 184u, 185u}) {
        const auto* menu = LoadMenuResource(id);
        SCOPED_TRACE(id);
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->size(), 1u);
        EXPECT_FALSE(menu->front().items.empty());
    }
    EXPECT_EQ(Shape(LoadMenuResource(IDR_MENU_MY_PLAYLISTS)->front()), "32780 32811 - 32833 ");
    EXPECT_EQ(LoadMenuResource(1), nullptr);
}

TEST(AcceleratorsTest, MainTable)
{
    const auto* table = LoadAcceleratorTable(IDR_MAINFRAME);
    ASSERT_NE(table, nullptr);
    std::vector<std::pair<std::string, unsigned>> entries;
    for (const AcceleratorData& a : *table)
        entries.emplace_back(a.keys, a.command);
    const std::vector<std::pair<std::string, unsigned>> expected = {
        {"Ctrl+C", 57634}, {"Ctrl+Ins", 57634},  {"Ctrl+V", 57637}, {"Shift+Ins", 57637},
        {"Ctrl+X", 57635}, {"Shift+Del", 57635}, {"Ctrl+Z", 57643}, {"Alt+Backspace", 57643},
        {"F6", 57680},     {"Shift+F6", 57681},  {"F1", 57670},     {"Shift+F1", 57669},
    };
    EXPECT_EQ(entries, expected);
}

}  // namespace
