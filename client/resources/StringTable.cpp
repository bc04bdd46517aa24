#include "client/resources/StringTable.h"

#include <algorithm>
#include <iterator>

namespace {

struct StringEntry {
    unsigned id;
    const char* text;
};

// Sorted by id; lookups search it by halves.
constexpr StringEntry kStrings[] = {
    {128, "Corvanta"},
    // Tool tips, under their controls' ids.
    {1010, "Collapse the search results"},
    {1045, "Type the name of the playlist here"},
    {1046, "Enter a description of your playlist here"},
    {1062, "Select a genre for this playlist"},
    {1063, "Select the mood that best suits this playlist"},
    {1065, "Create a new, empty playlist"},
    {1066, "Remove the selected playlist from Corvanta"},
    {1067, "Publish the playlist to Corvanta"},
    {1077, "Select or type the theme of this playlist"},
    {1086, "Edit the selected playlist"},
    {1121, "Add tracks from local M3U or PLS files"},
    {1122, "Save this playlist in M3U or PLS format"},
    {1123, "Play local MP3 versions of songs in your playlist"},
    {1133, "Cancel and discard changes"},
    {3000, "Not logged in."},
    {3001, "%s logged in."},
    {3005, "Playlist Files (*.m3u, *.pls)|*.m3u;*.pls|MP3 Files (*.mp3)|*.mp3|All Files (*.*)| *.*||"},
    {3006, "Home"},
    {3009, "Create"},
    {3010, "Search"},
    {3011, "Favorites"},
    {3012, "Playlist File (*.m3u)|*.m3u|Playlist File (*.pls)|*.pls|Text File (*.txt)|*.txt||"},
    {3050, "I Created"},
    {3051, "Playlists"},
    {3052, "Tracks"},
    {3053, "Playmakers"},
    {3054, "Artists"},
    {3099, "New Playlist"},
    {3100, "Playlists Where Playlist Title Is "},
    {3101, "Playlists Where Playmaker Name Is "},
    {3102, "Playlists Where Artist Name Is "},
    {3103, "Playlists Where Track Name Is "},
    {3104, "Playlists Where Theme is "},
    {3105, "Playlists Where Genre Is "},
    {3106, "Playlists Where Mood Is "},
    {3110, "Playmakers Where Playmaker Name Is "},
    {3120, "Artists Where Artist Name Is "},
    {3121, "Artists Where Track Name Is "},
    {3130, "Tracks Where Track Name Is "},
    {3131, "Tracks Where Artist Name Is "},
    {3133, "Tracks Where Album Title Is "},
    {3200, "Playlist Title"},
    {3201, "Playmaker Name"},
    {3202, "Artist Name"},
    {3203, "Track Name"},
    {3204, "Theme"},
    {3205, "Genre"},
    {3206, "Mood"},
    {3210, "Playmaker Name"},
    {3220, "Artist Name"},
    {3221, "Track Name"},
    {3230, "Track Name"},
    {3231, "Artist Name"},
    {3233, "Album Title"},
    {3300, "Search For All Items Containing \"%s\""},
    {3301, "Search For Playlists Containing \"%s\""},
    {3500, "Welcome to Corvanta BETA version %s.  This is an early BETA of our product.  We're counting on "
           "you to let us know about any problems that you encounter so that we may quickly address "
           "issues.  \n\r\n\rPlease send bug reports and product suggestions to feedback@corvanta.example."},
    {3501, "This playlist contains unresolved performances and cannot be published."},
    {3502, "Loading playlists from server"},
    {3503, "You are not logged in.  Log in to create or edit playlists."},
    {3504, "You are not logged in.  Log in to create or edit playlists"},
    {3505, "The playlist could not be deleted from Corvanta."},
    {3506, "Are you sure you want to delete playlist '%s'?"},
    {3507, "Looking for matching artists..."},
    {3508, "Looking for matching tracks..."},
    {3509, "No suggestions."},
    {3510, "match"},
    {3511, "working"},
    {3512, "click here"},
    {3513, " "},
    {3514, "error"},
    {3550, "No matches found."},
    {3551, "Creating Artist"},
    {3552, "Creating Track"},
    {3553, "Publishing"},
    {3554, "Could not create track."},
    {3555, "Could not create artist."},
    {3556, "The playlist could not be published to Corvanta."},
    {3557, "Searching..."},
    {3558, "Click here for more results..."},
    {3559, "Retrieving next results..."},
    {3560, "Results %d - %d"},
    {3561, "The tracks of this playlist could not be loaded from Corvanta. Log in again to load them."},
    {3603, "Please specify where you heard about Corvanta"},
    {3605, "Play (%d Local)"},
    {3606, "(Type Artist Name)"},
    {3607, "(Type Track Name)"},
    {3608, "yes"},
    {3609, "Artist | Title | Description | Match | Local MP3"},
    {3610, "Playlist contains no MP3 files to export"},
    {3611, "Playlist contains no MP3 files to play"},
    // Menu prompts, under their commands' ids.
    {32776, "Import from a .M3U or .PLS playlist file"},
    {32777, "Create a new user account"},
    {32778, "Set Corvanta options"},
    {32779, "Visit the Corvanta website"},
    {32783, "Save playlists to M3U or PLS format"},
    {32784, "Log in to the Corvanta server"},
    {32802, "Set server parameters (Not for public consumption)"},
    {32834, "Refresh the current page"},
    {57344, "Corvanta"},
    {57345, "For Help, press F1"},
    {57634, "Copy the selection and put it on the Clipboard"},
    {57635, "Cut the selection and put it on the Clipboard"},
    {57637, "Insert Clipboard contents"},
    {57643, "Undo the last action"},
    {57664, "Display program information, version number and copyright"},
    {57665, "Quit the application"},
    {57667, "List Help topics"},
    {59137, "CAP"},
    {59138, "NUM"},
    {59139, "SCRL"},
    {59393, "Show or hide the status bar"},
    {61204, "|Artist|Playlist|Playmaker|Color"},
    {61205, "Field cannot be empty"},
    {61206, "Please verify your password"},
    {61207, "Bad date, enter date as MM/DD/YYYY"},
    {61208, "Error Creating User"},
    {61593, "00/00/0000"},
    {61595, "An error occurred at the Corvanta server.\nThe following %s(s) have not been added to your "
            "favorites:\n%s"},
    {61596, "An error occurred at the Corvanta server.\nThe following %s(s) have not been removed:\n%s"},
    {61597, "An error occurred at the Corvanta Server.\nWe apologize, please try again later."},
    {61598, "http://www.corvanta.example/"},
    {61599, "Corvanta version %s is now available!\n\nWould you like to download the new version?"},
    {61600, "There are no new versions of Corvanta."},
    {61601, "Artist"},
    {61602, "Playlist"},
    {61603, "Track"},
    {61604, "Playmaker"},
    {61605, "An error occurred at the Corvanta server.\n%s: %s\nhas not been permanently moved."},
    {61606, "Item"},
};

constexpr bool SortedById()
{
    for (std::size_t i = 1; i < std::size(kStrings); ++i) {
        if (kStrings[i - 1].id >= kStrings[i].id)
            return false;
    }
    return true;
}
static_assert(SortedById(), "string table entries must be sorted by id, without duplicates");

const StringEntry* Find(unsigned id)
{
    const auto* end = std::end(kStrings);
    const auto* it =
        std::lower_bound(std::begin(kStrings), end, id, [](const StringEntry& e, unsigned key) { return e.id < key; });
    return it != end && it->id == id ? it : nullptr;
}

}  // namespace

const char* LoadResourceString(unsigned id)
{
    const StringEntry* entry = Find(id);
    return entry ? entry->text : "";
}

bool HasResourceString(unsigned id)
{
    return Find(id) != nullptr;
}

std::string FormatResourceString(unsigned id, std::initializer_list<std::string> values)
{
    std::string text;
    auto value = values.begin();
    for (const char* p = LoadResourceString(id); *p; ++p) {
        if (p[0] == '%' && (p[1] == 's' || p[1] == 'd') && value != values.end()) {
            text += *value++;
            ++p;
        } else {
            text += *p;
        }
    }
    return text;
}
