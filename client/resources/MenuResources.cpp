#include "client/resources/MenuResources.h"

#include "client/resources/ResourceIds.h"

#include <map>

namespace {

MenuItemData Item(unsigned id, const char* text)
{
    return {MenuItemData::Kind::Command, id, text, {}};
}

MenuItemData Separator()
{
    return {MenuItemData::Kind::Separator, 0, "", {}};
}

MenuItemData Popup(const char* text, std::vector<MenuItemData> items)
{
    return {MenuItemData::Kind::Popup, 0, text, std::move(items)};
}

std::vector<MenuItemData> MainMenu()
{
    std::vector<MenuItemData> view = {Item(ID_VIEW_STATUS_BAR, "&Status Bar"), Separator()};
    static const char* const tabs[] = {"Tab 1", "Tab 2", "Tab 3", "Tab 4", "Tab 5",
                                       "Tab 6", "Tab 7", "Tab 8", "Tab 9", "Tab 10"};
    for (unsigned i = 0; i <= ID_VIEW_TAB_LAST - ID_VIEW_TAB_FIRST; ++i)
        view.push_back(Item(ID_VIEW_TAB_FIRST + i, tabs[i]));
    view.push_back(Separator());
    view.push_back(Item(ID_VIEW_REFRESH, "Refresh"));
    view.push_back(Item(ID_VIEW_BACK, "Back"));
    view.push_back(Item(ID_VIEW_FORWARD, "Forward"));

    return {
        Popup("&File",
              {Item(ID_FILE_LOGIN, "Log In"), Item(ID_FILE_LOGOUT, "Log Out"), Item(ID_FILE_SIGNUP, "Sign Up New User"),
               Separator(), Item(ID_FILE_IMPORT_PLAYLIST, "Import Playlist"),
               Item(ID_FILE_EXPORT_PLAYLIST, "Export Playlist"), Separator(), Item(ID_APP_EXIT, "E&xit")}),
        Popup("&Edit", {Item(ID_EDIT_UNDO, "&Undo\tCtrl+Z"), Separator(), Item(ID_EDIT_CUT, "Cu&t\tCtrl+X"),
                        Item(ID_EDIT_COPY, "&Copy\tCtrl+C"), Item(ID_EDIT_PASTE, "&Paste\tCtrl+V")}),
        Popup("&View", std::move(view)),
        Popup("&Tools", {Item(ID_TOOLS_OPTIONS, "&Options..."), Item(ID_TOOLS_SERVER_OPTIONS, "Server Options...")}),
        Popup("&Help",
              {Item(ID_HELP_INDEX, "Corvanta &Help"), Separator(), Item(ID_HELP_CHECK_UPGRADE, "Check for &Upgrade"),
               Item(ID_HELP_WEBSITE, "Corvanta Website"), Item(ID_APP_ABOUT, "&About Corvanta...")}),
    };
}

std::map<unsigned, std::vector<MenuItemData>> BuildMenus()
{
    std::map<unsigned, std::vector<MenuItemData>> menus;
    menus[IDR_MAINFRAME] = MainMenu();
    // Search results.
    menus[IDR_MENU_SEARCH_PLAYLIST] = {
        Popup("Playlist", {Item(ID_SHOW_DETAILS, "Show Details"), Item(ID_PLAYLIST_PREVIEW, "Preview"),
                           Item(ID_SEND_TO_FRIEND, "Send to Friend"), Item(ID_EMAIL_PLAYMAKER, "E-mail Playmaker"),
                           Item(ID_ADD_TO_FAVORITES, "Add to Favorites")})};
    menus[IDR_MENU_SEARCH_ARTIST] = {
        Popup("Artist", {Item(ID_SHOW_DETAILS, "Show Details"), Item(ID_ADD_TO_FAVORITES, "Add to Favorites")})};
    menus[IDR_MENU_SEARCH_PLAYMAKER] = {
        Popup("Playmaker", {Item(ID_SHOW_DETAILS, "Show Details"), Item(ID_EMAIL_PLAYMAKER, "E-mail Playmaker"),
                            Item(ID_ADD_TO_FAVORITES, "Add to Favorites")})};
    menus[IDR_MENU_SEARCH_TRACK] = {
        Popup("Track", {Item(ID_SHOW_DETAILS, "Show Details"), Item(ID_TRACK_PREVIEW, "Preview"),
                        Item(ID_ADD_TO_FAVORITES, "Add to Favorites"), Item(ID_ITEM_COPY, "Copy")})};
    // Favorites.
    menus[IDR_MENU_FAVORITE_PLAYLIST] = {
        Popup("Playlist", {Item(ID_SHOW_DETAILS, "Show Details"), Item(ID_PLAYLIST_PREVIEW, "Preview"),
                           Item(ID_SEND_TO_FRIEND, "Send to Friend"), Item(ID_EMAIL_PLAYMAKER, "E-mail Playmaker"),
                           Separator(), Item(ID_REMOVE_FAVORITE_PLAYLIST, "Remove From Favorites")})};
    menus[IDR_MENU_FAVORITE_PLAYMAKER] = {
        Popup("Playmaker", {Item(ID_SHOW_DETAILS, "Show Details"), Item(ID_EMAIL_PLAYMAKER, "E-mail Playmaker"),
                            Separator(), Item(ID_REMOVE_FAVORITE_PLAYMAKER, "Remove From Favorites")})};
    menus[IDR_MENU_FAVORITE_TRACK] = {Popup(
        "Track", {Item(ID_SHOW_DETAILS, "Show Details"), Item(ID_TRACK_PREVIEW, "Preview"), Item(ID_ITEM_COPY, "Copy"),
                  Separator(), Item(ID_REMOVE_FAVORITE_TRACK, "Remove From Favorites")})};
    menus[IDR_MENU_FAVORITE_ARTIST] = {Popup("Artist", {Item(ID_SHOW_DETAILS, "Show Details"), Separator(),
                                                        Item(ID_REMOVE_FAVORITE_ARTIST, "Remove From Favorites")})};
    menus[IDR_MENU_FAVORITE_CREATED] = {
        Popup("Playlist",
              {Item(ID_SHOW_DETAILS, "Show Details"), Item(ID_ITEM_PLAY, "Play"), Item(ID_PLAYLIST_PREVIEW, "Preview"),
               Item(ID_SEND_TO_FRIEND, "Send to Friend"), Item(ID_ITEM_EXPORT, "Export")})};
    // Playlist editor rows, by state.
    menus[IDR_MENU_EDITOR_MATCH] = {
        Popup("Row", {Item(ID_SHOW_DETAILS, "Show Details"), Item(ID_PLAYLIST_PREVIEW, "Preview"), Separator(),
                      Item(ID_ROW_DELETE, "Delete")})};
    menus[IDR_MENU_EDITOR_WORKING] = {Popup("Row", {Item(ID_ROW_DELETE, "Delete")})};
    menus[IDR_MENU_EDITOR_CLICKHERE] = {
        Popup("Row", {Item(ID_SHOW_SUGGESTIONS, "Show Suggestions"), Separator(), Item(ID_ROW_DELETE, "Delete")})};
    menus[IDR_MENU_EDITOR_BLANK] = {Popup("Row", {Item(ID_ROW_PASTE, "Paste")})};
    menus[IDR_MENU_EDITOR_ERROR] = {
        Popup("Row", {Item(ID_RETRY_MATCHING, "Retry Matching"), Item(ID_ROW_DELETE, "Delete")})};
    // My playlists.
    menus[IDR_MENU_MY_PLAYLISTS] = {Popup("Playlist", {Item(ID_ITEM_EDIT, "Edit"), Item(ID_ITEM_PLAY, "Play"),
                                                       Separator(), Item(ID_PLAYLIST_DELETE, "Delete")})};
    return menus;
}

}  // namespace

const std::vector<MenuItemData>* LoadMenuResource(unsigned id)
{
    static const std::map<unsigned, std::vector<MenuItemData>> menus = BuildMenus();
    auto it = menus.find(id);
    return it == menus.end() ? nullptr : &it->second;
}
