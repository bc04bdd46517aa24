#pragma once
// Resource numbers of the client: commands, menus, dialog templates, controls,
// pictures, the icon and the animation. Numbers are fixed; other code refers to
// them only through these names. String ids live in StringTable.h.

// ---- Commands of the main menu, the context menus and the accelerators ----
// Two commands that reach the my-playlists pane, which gives them no action.
inline constexpr unsigned ID_MY_PLAYLISTS_NO_ACTION_1 = 32774;
inline constexpr unsigned ID_MY_PLAYLISTS_NO_ACTION_2 = 32775;
inline constexpr unsigned ID_FILE_IMPORT_PLAYLIST = 32776;
inline constexpr unsigned ID_FILE_SIGNUP = 32777;
inline constexpr unsigned ID_TOOLS_OPTIONS = 32778;
inline constexpr unsigned ID_HELP_WEBSITE = 32779;
inline constexpr unsigned ID_USER_INFORMATION = 32781;  // on no menu
inline constexpr unsigned ID_FILE_EXPORT_PLAYLIST = 32783;
inline constexpr unsigned ID_FILE_LOGIN = 32784;
inline constexpr unsigned ID_EDITOR_PUBLISH = 32785;  // the playlist editor's Publish, on no menu
inline constexpr unsigned ID_HELP_CHECK_UPGRADE = 32786;
inline constexpr unsigned ID_VIEW_TAB_FIRST = 32788;         // "Tab 1"
inline constexpr unsigned ID_VIEW_TAB_LAST = 32797;          // "Tab 10"
inline constexpr unsigned ID_LOOK_AND_FEEL_SCHEME2 = 32798;  // on no menu
inline constexpr unsigned ID_LOOK_AND_FEEL_SCHEME0 = 32799;  // on no menu
inline constexpr unsigned ID_TOOLS_SERVER_OPTIONS = 32802;
inline constexpr unsigned ID_FILE_LOGOUT = 32826;
inline constexpr unsigned ID_VIEW_REFRESH = 32834;
inline constexpr unsigned ID_VIEW_BACK = 32835;
inline constexpr unsigned ID_VIEW_FORWARD = 32836;

// Browser commands of the detail viewer and the home pane.
inline constexpr unsigned ID_BROWSER_BACK = 32803;
inline constexpr unsigned ID_BROWSER_STOP = 32804;
inline constexpr unsigned ID_BROWSER_FORWARD = 32805;
inline constexpr unsigned ID_BROWSER_REFRESH = 32806;

// Context menu commands of the panes.
inline constexpr unsigned ID_ITEM_EDIT = 32780;
inline constexpr unsigned ID_PLAYLIST_PREVIEW = 32810;
inline constexpr unsigned ID_ITEM_PLAY = 32811;
inline constexpr unsigned ID_SEND_TO_FRIEND = 32812;
inline constexpr unsigned ID_EMAIL_PLAYMAKER = 32813;
inline constexpr unsigned ID_ITEM_EXPORT = 32814;
inline constexpr unsigned ID_TRACK_PREVIEW = 32818;
inline constexpr unsigned ID_SHOW_DETAILS = 32819;
inline constexpr unsigned ID_REMOVE_FAVORITE_PLAYMAKER = 32820;
inline constexpr unsigned ID_REMOVE_FAVORITE_PLAYLIST = 32821;
inline constexpr unsigned ID_REMOVE_FAVORITE_TRACK = 32822;
inline constexpr unsigned ID_REMOVE_FAVORITE_ARTIST = 32823;
inline constexpr unsigned ID_ADD_TO_FAVORITES = 32825;
inline constexpr unsigned ID_SHOW_SUGGESTIONS = 32828;
inline constexpr unsigned ID_ROW_DELETE = 32829;
inline constexpr unsigned ID_ROW_PASTE = 32830;
inline constexpr unsigned ID_RETRY_MATCHING = 32831;
inline constexpr unsigned ID_ITEM_COPY = 32832;
inline constexpr unsigned ID_PLAYLIST_DELETE = 32833;

// Framework commands.
inline constexpr unsigned ID_EDIT_COPY = 57634;
inline constexpr unsigned ID_EDIT_CUT = 57635;
inline constexpr unsigned ID_EDIT_PASTE = 57637;
inline constexpr unsigned ID_EDIT_UNDO = 57643;
inline constexpr unsigned ID_APP_ABOUT = 57664;
inline constexpr unsigned ID_APP_EXIT = 57665;
inline constexpr unsigned ID_HELP_INDEX = 57667;  // "Corvanta &Help"
inline constexpr unsigned ID_CONTEXT_HELP = 57669;
inline constexpr unsigned ID_HELP = 57670;
inline constexpr unsigned ID_NEXT_PANE = 57680;
inline constexpr unsigned ID_PREV_PANE = 57681;
inline constexpr unsigned ID_VIEW_STATUS_BAR = 59393;
inline constexpr unsigned ID_VIEW_DETAILS = 59411;  // on no menu

// Status bar indicators (their texts are strings of the same number).
inline constexpr unsigned ID_INDICATOR_CAPS = 59137;
inline constexpr unsigned ID_INDICATOR_NUM = 59138;
inline constexpr unsigned ID_INDICATOR_SCRL = 59139;

// ---- Frame resources: menu, accelerators, icon and title all number 128 ----
inline constexpr unsigned IDR_MAINFRAME = 128;

// ---- Context menus (their first popup is the one shown) ----
inline constexpr unsigned IDR_MENU_SEARCH_PLAYLIST = 168;
inline constexpr unsigned IDR_MENU_FAVORITE_PLAYLIST = 172;
inline constexpr unsigned IDR_MENU_FAVORITE_PLAYMAKER = 173;
inline constexpr unsigned IDR_MENU_FAVORITE_TRACK = 174;
inline constexpr unsigned IDR_MENU_FAVORITE_ARTIST = 175;
inline constexpr unsigned IDR_MENU_SEARCH_ARTIST = 176;
inline constexpr unsigned IDR_MENU_SEARCH_PLAYMAKER = 177;
inline constexpr unsigned IDR_MENU_SEARCH_TRACK = 178;
inline constexpr unsigned IDR_MENU_EDITOR_MATCH = 179;
inline constexpr unsigned IDR_MENU_EDITOR_WORKING = 180;
inline constexpr unsigned IDR_MENU_FAVORITE_CREATED = 181;
inline constexpr unsigned IDR_MENU_EDITOR_CLICKHERE = 182;
inline constexpr unsigned IDR_MENU_EDITOR_BLANK = 183;
inline constexpr unsigned IDR_MENU_EDITOR_ERROR = 184;
inline constexpr unsigned IDR_MENU_MY_PLAYLISTS = 185;

// ---- Dialog templates ----
inline constexpr unsigned IDD_ABOUTBOX = 100;
inline constexpr unsigned IDD_PLAYLIST_EDITOR = 130;
inline constexpr unsigned IDD_LOGIN = 135;
inline constexpr unsigned IDD_NEW_USER = 137;
inline constexpr unsigned IDD_PROFILE = 138;
inline constexpr unsigned IDD_OPTIONS = 139;
inline constexpr unsigned IDD_DETAIL_VIEWER = 147;
inline constexpr unsigned IDD_HOME_PANE = 148;
inline constexpr unsigned IDD_BOOKMARK_PANE = 149;
inline constexpr unsigned IDD_MY_PLAYLISTS = 158;
inline constexpr unsigned IDD_SERVER_OPTIONS = 159;
inline constexpr unsigned IDD_TRACK_SUGGESTIONS = 175;
inline constexpr unsigned IDD_PROGRESS = 178;
inline constexpr unsigned IDD_WELCOME = 181;
inline constexpr unsigned IDD_NEW_TRACK_ARTIST = 184;
inline constexpr unsigned IDD_NEW_TRACK = 185;
inline constexpr unsigned IDD_UPGRADE_STATUS = 198;
inline constexpr unsigned IDD_EDIT_TEXT = 201;
inline constexpr unsigned IDD_SEARCH_RESULTS = 202;
inline constexpr unsigned IDD_SEARCH_ADVANCED = 203;
inline constexpr unsigned IDD_SEARCH_PANE = 204;
inline constexpr unsigned IDD_SEARCH_SIMPLE = 205;

// ---- Controls and child windows ----
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDC_TABSTRIP = 77;
inline constexpr int IDC_HOME_VIEW = 98;
inline constexpr int IDC_SEARCH_VIEW = 99;
inline constexpr int IDC_BOOKMARK_VIEW = 100;
inline constexpr int IDC_PLAYLIST_EDITOR_VIEW = 101;
inline constexpr int IDC_TAB_PANE = 100;              // the pane a tab view hosts
inline constexpr int IDC_PLAYLIST_EDITOR_PANE = 102;  // the editor beside the my-playlists pane
inline constexpr int IDC_SEARCH_FORM_PANE = 99;       // upper pane of the search view
inline constexpr int IDC_SEARCH_ADVANCED_FORM = 101;  // the search form pane's two forms
inline constexpr int IDC_SEARCH_SIMPLE_FORM = 102;
inline constexpr int IDC_STATUS_BAR = 0xE801;
inline constexpr int IDC_SPLITTER_PANE_FIRST = 0xE900;

inline constexpr int IDC_SEARCH_BUTTON = 1009;
inline constexpr int IDC_SEARCH_CLOSE_ALL = 1010;
inline constexpr int IDC_SEARCH_TABS = 1013;
inline constexpr int IDC_NEW_ARTIST_NAME = 1013;
inline constexpr int IDC_EDIT_TEXT = 1017;
inline constexpr int IDC_LOGIN_HANDLE = 1023;
inline constexpr int IDC_LOGIN_PASSWORD = 1024;
inline constexpr int IDC_LOGIN_NEW_USER = 1025;
inline constexpr int IDC_OPTIONS_PASSWORD = 1039;
inline constexpr int IDC_OPTIONS_HANDLE = 1040;
inline constexpr int IDC_EDITOR_NAME = 1045;
inline constexpr int IDC_EDITOR_DESCRIPTION = 1046;
inline constexpr int IDC_BROWSER = 1057;
inline constexpr int IDC_SEARCH_RESULTS_GRID = 1060;
inline constexpr int IDC_BOOKMARK_GRID = 1061;
inline constexpr int IDC_EDITOR_GENRE = 1062;
inline constexpr int IDC_EDITOR_MOOD = 1063;
inline constexpr int IDC_MY_PLAYLISTS_NEW = 1065;
inline constexpr int IDC_MY_PLAYLISTS_DELETE = 1066;
inline constexpr int IDC_EDITOR_PUBLISH = 1067;
inline constexpr int IDC_SEARCH_FOR = 1068;
inline constexpr int IDC_EDITOR_THEME = 1077;
inline constexpr int IDC_EDITOR_GRID = 1082;
inline constexpr int IDC_MY_PLAYLISTS_EDIT = 1086;
inline constexpr int IDC_MY_PLAYLISTS_GRID = 1087;
inline constexpr int IDC_SERVER_NAME = 1088;
inline constexpr int IDC_SUGGEST_NEW_TRACK = 1093;  // "Add New Track To Database..."
inline constexpr int IDC_SUGGEST_GRID = 1094;
inline constexpr int IDC_EDITOR_PLAYMAKER = 1095;
inline constexpr int IDC_ABOUT_VERSION = 1096;
inline constexpr int IDC_SERVER_WEBLOGIC_PORTS = 1100;
inline constexpr int IDC_SERVER_DEFAULT_PORTS = 1101;
inline constexpr int IDC_LOGIN_SAVE = 1102;
inline constexpr int IDC_OPTIONS_AUTOLOGIN = 1103;
inline constexpr int IDC_WELCOME_TEXT = 1104;
inline constexpr int IDC_SUGGEST_SELECT_ARTIST = 1106;
inline constexpr int IDC_SUGGEST_ADD_ARTIST = 1107;
inline constexpr int IDC_NEW_ARTIST_LIST = 1108;
inline constexpr int IDC_SUGGEST_SELECT_TRACK = 1109;
inline constexpr int IDC_SUGGEST_ADD_TRACK = 1110;
inline constexpr int IDC_NEW_TRACK_ARTIST = 1111;
inline constexpr int IDC_NEW_TRACK_NAME = 1112;
inline constexpr int IDC_NEW_TRACK_LIST = 1113;
inline constexpr int IDC_SEARCH_CLEAR_RESULTS = 1114;
inline constexpr int IDC_DETAIL_BACK = 1117;
inline constexpr int IDC_DETAIL_FORWARD = 1118;
inline constexpr int IDC_DETAIL_REFRESH = 1119;
inline constexpr int IDC_UPGRADE_MESSAGE = 1119;
inline constexpr int IDC_DETAIL_STOP = 1120;
inline constexpr int IDC_EDITOR_IMPORT = 1121;
inline constexpr int IDC_EDITOR_EXPORT = 1122;
inline constexpr int IDC_PLAY_LOCAL = 1123;
inline constexpr int IDC_SEARCH_BY = 1122;
inline constexpr int IDC_SEARCH_TEXT = 1123;
inline constexpr int IDC_SEARCH_THEME = 1124;
inline constexpr int IDC_SEARCH_LIST = 1125;  // genre or mood
inline constexpr int IDC_SEARCH_PLAYLISTS = 1126;
inline constexpr int IDC_SEARCH_PLAYMAKERS = 1127;
inline constexpr int IDC_SEARCH_ARTISTS = 1128;
inline constexpr int IDC_SEARCH_TRACKS = 1129;
inline constexpr int IDC_SEARCH_ALL = 1131;
inline constexpr int IDC_EDITOR_CANCEL = 1133;
inline constexpr int IDC_SUGGEST_TEXT = 1134;
inline constexpr int IDC_PROGRESS_ANIMATION = 1098;
inline constexpr int IDC_PROGRESS_MESSAGE = 1118;

// ---- Pictures (PNG files of corvanta_resources_images) ----
inline constexpr unsigned IDB_ARTIST = 160;
inline constexpr unsigned IDB_PLAYLIST = 161;
inline constexpr unsigned IDB_PERFORMANCE = 162;
inline constexpr unsigned IDB_PLAYMAKER = 163;
inline constexpr unsigned IDB_SPLASH = 183;  // welcome and About picture
// Detail viewer buttons: each button's normal and disabled states share a
// picture, as do its pressed and hover-pressed states.
inline constexpr unsigned IDB_BACK_PRESSED = 186;
inline constexpr unsigned IDB_BACK_HOVER = 187;
inline constexpr unsigned IDB_REFRESH_PRESSED = 188;
inline constexpr unsigned IDB_REFRESH_HOVER = 189;
inline constexpr unsigned IDB_FORWARD_PRESSED = 190;
inline constexpr unsigned IDB_FORWARD_HOVER = 191;
inline constexpr unsigned IDB_STOP_PRESSED = 192;
inline constexpr unsigned IDB_STOP_HOVER = 193;
inline constexpr unsigned IDB_BACK = 194;
inline constexpr unsigned IDB_REFRESH = 195;
inline constexpr unsigned IDB_FORWARD = 196;
inline constexpr unsigned IDB_STOP = 197;
inline constexpr unsigned IDB_PREVIEW = 207;  // a track with a preview, in the suggestions

inline constexpr unsigned IDI_MAINFRAME = 128;
inline constexpr unsigned IDR_ANIMATION = 180;  // the progress animation loop
