#pragma once
// What the two search forms and the results pane ask of a search, without
// widgets: the searches a simple-form search starts, the "Search by:" entries
// of each kind, and the title a search is listed under.
#include "client/search/SearchQuery.h"

#include <cstdint>
#include <span>
#include <string>

class CSearchController;

/// The simple form's modes; its radio buttons select them in the order
/// Playlists, Playmakers, Artists, Tracks, All.
enum SimpleSearchMode : std::int32_t {
    kModeAll = 0,
    kModePlaylists = 1,
    kModePlaymakers = 2,
    kModeArtists = 3,
    kModeTracks = 4,
};

/// The mode of radio button index (0 to 4).
std::int32_t SimpleSearchModeOfRadio(int index);

/// Starts the searches for text of one simple-form search: All as seven in one
/// group, Playlists as four in one group, the others as one search.
void RunSimpleSearch(CSearchController& controller, std::int32_t mode, const std::string& text);

/// One entry of "Search by:": its string and the field it searches.
struct SearchByEntry {
    unsigned stringId;
    SearchField field;
};

/// The entries of a kind (1 to 4), in the list's order; none for another kind.
std::span<const SearchByEntry> SearchByEntries(std::int32_t kind);

/// Whether the field's value is typed (not chosen: theme, genre, mood).
bool IsTypedField(SearchField field);

/// The title of a search's row: a text by its kind and first criterion, and the
/// criterion's text in double quotation marks; empty for other combinations.
std::string SearchTitle(const CSearchQuery& query);
