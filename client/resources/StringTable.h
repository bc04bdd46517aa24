#pragma once
// The client's one string table: every text shown to the member, each under
// its fixed number. Menu prompts are stored under the command's own id.
// Plain C++ with static storage; safe from any thread.
#include <initializer_list>
#include <string>

/// The text of string id, or "" when the table has no such string.
const char* LoadResourceString(unsigned id);
/// Whether the table holds id (some strings are empty on purpose).
bool HasResourceString(unsigned id);
/// The text of string id with each "%s" or "%d", in turn, replaced by the next
/// value; a placeholder without a value stays as it is.
std::string FormatResourceString(unsigned id, std::initializer_list<std::string> values);

// ---- Application and framework ----
inline constexpr unsigned IDS_APP_TITLE = 57344;     // also IDR_MAINFRAME's title
inline constexpr unsigned IDS_IDLE_MESSAGE = 57345;  // status pane 0 when idle
inline constexpr unsigned IDS_MAINFRAME_TITLE = 128;

// ---- Session display ----
inline constexpr unsigned IDS_NOT_LOGGED_IN = 3000;
inline constexpr unsigned IDS_LOGGED_IN_FMT = 3001;  // %s: the member's handle

// ---- File dialog filters ----
inline constexpr unsigned IDS_IMPORT_FILTER = 3005;
inline constexpr unsigned IDS_EXPORT_FILTER = 3012;

// ---- Tab titles ----
inline constexpr unsigned IDS_TAB_HOME = 3006;
inline constexpr unsigned IDS_TAB_CREATE = 3009;
inline constexpr unsigned IDS_TAB_SEARCH = 3010;
inline constexpr unsigned IDS_TAB_FAVORITES = 3011;

// ---- Favorites pane groups ----
inline constexpr unsigned IDS_GROUP_I_CREATED = 3050;
inline constexpr unsigned IDS_GROUP_PLAYLISTS = 3051;
inline constexpr unsigned IDS_GROUP_TRACKS = 3052;
inline constexpr unsigned IDS_GROUP_PLAYMAKERS = 3053;
inline constexpr unsigned IDS_GROUP_ARTISTS = 3054;

inline constexpr unsigned IDS_NEW_PLAYLIST = 3099;

// ---- Search group titles (each followed by the searched text) ----
inline constexpr unsigned IDS_SEARCH_PLAYLISTS_TITLE = 3100;
inline constexpr unsigned IDS_SEARCH_PLAYLISTS_PLAYMAKER = 3101;
inline constexpr unsigned IDS_SEARCH_PLAYLISTS_ARTIST = 3102;
inline constexpr unsigned IDS_SEARCH_PLAYLISTS_TRACK = 3103;
inline constexpr unsigned IDS_SEARCH_PLAYLISTS_THEME = 3104;
inline constexpr unsigned IDS_SEARCH_PLAYLISTS_GENRE = 3105;
inline constexpr unsigned IDS_SEARCH_PLAYLISTS_MOOD = 3106;
inline constexpr unsigned IDS_SEARCH_PLAYMAKERS_NAME = 3110;
inline constexpr unsigned IDS_SEARCH_ARTISTS_ARTIST = 3120;
inline constexpr unsigned IDS_SEARCH_ARTISTS_TRACK = 3121;
inline constexpr unsigned IDS_SEARCH_TRACKS_TRACK = 3130;
inline constexpr unsigned IDS_SEARCH_TRACKS_ARTIST = 3131;
inline constexpr unsigned IDS_SEARCH_TRACKS_ALBUM = 3133;

// ---- "Search by:" entries ----
inline constexpr unsigned IDS_BY_PLAYLIST_TITLE = 3200;
inline constexpr unsigned IDS_BY_PLAYLIST_PLAYMAKER = 3201;
inline constexpr unsigned IDS_BY_PLAYLIST_ARTIST = 3202;
inline constexpr unsigned IDS_BY_PLAYLIST_TRACK = 3203;
inline constexpr unsigned IDS_BY_PLAYLIST_THEME = 3204;
inline constexpr unsigned IDS_BY_PLAYLIST_GENRE = 3205;
inline constexpr unsigned IDS_BY_PLAYLIST_MOOD = 3206;
inline constexpr unsigned IDS_BY_PLAYMAKER_NAME = 3210;
inline constexpr unsigned IDS_BY_ARTIST_ARTIST = 3220;
inline constexpr unsigned IDS_BY_ARTIST_TRACK = 3221;
inline constexpr unsigned IDS_BY_TRACK_TRACK = 3230;
inline constexpr unsigned IDS_BY_TRACK_ARTIST = 3231;
inline constexpr unsigned IDS_BY_TRACK_ALBUM = 3233;

inline constexpr unsigned IDS_SEARCH_ALL_FMT = 3300;        // %s: the text, quoted
inline constexpr unsigned IDS_SEARCH_PLAYLISTS_FMT = 3301;  // %s: the text, quoted

// ---- Messages and row texts ----
inline constexpr unsigned IDS_WELCOME_FMT = 3500;  // %s: the version text
inline constexpr unsigned IDS_UNRESOLVED_PERFORMANCES = 3501;
inline constexpr unsigned IDS_LOADING_PLAYLISTS = 3502;
inline constexpr unsigned IDS_NOT_LOGGED_IN_PLAYLISTS = 3503;
// The favorites pane's I Created group while logged out (no final full stop).
inline constexpr unsigned IDS_NOT_LOGGED_IN_I_CREATED = 3504;
inline constexpr unsigned IDS_DELETE_PLAYLIST_FAILED = 3505;  // the server kept the playlist
inline constexpr unsigned IDS_CONFIRM_DELETE_PLAYLIST_FMT = 3506;
inline constexpr unsigned IDS_LOOKING_FOR_ARTISTS = 3507;
inline constexpr unsigned IDS_LOOKING_FOR_TRACKS = 3508;
inline constexpr unsigned IDS_NO_SUGGESTIONS = 3509;
inline constexpr unsigned IDS_STATE_MATCH = 3510;
inline constexpr unsigned IDS_STATE_WORKING = 3511;
inline constexpr unsigned IDS_STATE_CLICK_HERE = 3512;
inline constexpr unsigned IDS_STATE_BLANK = 3513;
inline constexpr unsigned IDS_STATE_ERROR = 3514;
inline constexpr unsigned IDS_NO_MATCHES = 3550;
inline constexpr unsigned IDS_CREATING_ARTIST = 3551;
inline constexpr unsigned IDS_CREATING_TRACK = 3552;
inline constexpr unsigned IDS_PUBLISHING = 3553;
inline constexpr unsigned IDS_COULD_NOT_CREATE_TRACK = 3554;
inline constexpr unsigned IDS_COULD_NOT_CREATE_ARTIST = 3555;
inline constexpr unsigned IDS_PUBLISH_FAILED = 3556;  // the server did not take a publish
inline constexpr unsigned IDS_SEARCHING = 3557;
inline constexpr unsigned IDS_MORE_RESULTS = 3558;
inline constexpr unsigned IDS_RETRIEVING_RESULTS = 3559;
inline constexpr unsigned IDS_RESULTS_RANGE_FMT = 3560;  // %d - %d
// A playlist whose tracks did not come from the server.
inline constexpr unsigned IDS_PLAYLIST_TRACKS_NOT_LOADED = 3561;
inline constexpr unsigned IDS_SPECIFY_REFERRAL = 3603;
inline constexpr unsigned IDS_PLAY_LOCAL_FMT = 3605;  // %d: local tracks
inline constexpr unsigned IDS_TYPE_ARTIST_NAME = 3606;
inline constexpr unsigned IDS_TYPE_TRACK_NAME = 3607;
inline constexpr unsigned IDS_LOCAL_YES = 3608;
inline constexpr unsigned IDS_EDITOR_COLUMNS = 3609;
inline constexpr unsigned IDS_NO_FILES_TO_EXPORT = 3610;
inline constexpr unsigned IDS_NO_FILES_TO_PLAY = 3611;

inline constexpr unsigned IDS_FIELD_EMPTY = 61205;
inline constexpr unsigned IDS_VERIFY_PASSWORD = 61206;
inline constexpr unsigned IDS_BAD_DATE = 61207;
inline constexpr unsigned IDS_ERROR_CREATING_USER = 61208;
inline constexpr unsigned IDS_PROFILE_CATEGORIES = 61204;
inline constexpr unsigned IDS_INVALID_DATE = 61593;
inline constexpr unsigned IDS_FAVORITES_NOT_ADDED_FMT = 61595;
inline constexpr unsigned IDS_FAVORITES_NOT_REMOVED_FMT = 61596;
inline constexpr unsigned IDS_UPGRADE_SERVER_ERROR = 61597;
inline constexpr unsigned IDS_PRODUCT_WEB_SITE = 61598;
inline constexpr unsigned IDS_UPGRADE_AVAILABLE_FMT = 61599;
inline constexpr unsigned IDS_NO_NEW_VERSION = 61600;
inline constexpr unsigned IDS_TYPE_ARTIST = 61601;
inline constexpr unsigned IDS_TYPE_PLAYLIST = 61602;
inline constexpr unsigned IDS_TYPE_TRACK = 61603;
inline constexpr unsigned IDS_TYPE_PLAYMAKER = 61604;
inline constexpr unsigned IDS_FAVORITE_NOT_MOVED_FMT = 61605;
inline constexpr unsigned IDS_TYPE_ITEM = 61606;
