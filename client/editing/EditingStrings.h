#pragma once
// The texts the editing models show or hand to their panes, kept with their
// string-table numbers until the user interface gathers one string table.

struct EditingString {
    int id;
    const char* text;
};

inline constexpr EditingString kStrUnresolvedPerformances{
    3501, "This playlist contains unresolved performances and cannot be published."};
inline constexpr EditingString kStrLookingForArtists{3507, "Looking for matching artists..."};
inline constexpr EditingString kStrLookingForTracks{3508, "Looking for matching tracks..."};
inline constexpr EditingString kStrNoSuggestions{3509, "No suggestions."};
inline constexpr EditingString kStrMatch{3510, "match"};
inline constexpr EditingString kStrWorking{3511, "working"};
inline constexpr EditingString kStrClickHere{3512, "click here"};
inline constexpr EditingString kStrBlank{3513, " "};
inline constexpr EditingString kStrError{3514, "error"};
inline constexpr EditingString kStrCreatingArtist{3551, "Creating Artist"};
inline constexpr EditingString kStrCreatingTrack{3552, "Creating Track"};
inline constexpr EditingString kStrPublishing{3553, "Publishing"};
inline constexpr EditingString kStrCouldNotCreateTrack{3554, "Could not create track."};
inline constexpr EditingString kStrCouldNotCreateArtist{3555, "Could not create artist."};
inline constexpr EditingString kStrTypeArtistName{3606, "(Type Artist Name)"};
inline constexpr EditingString kStrTypeTrackName{3607, "(Type Track Name)"};
inline constexpr EditingString kStrLocalYes{3608, "yes"};
inline constexpr EditingString kStrEditColumns{3609, "Artist | Title | Description | Match | Local MP3"};
inline constexpr EditingString kStrNoFilesToExport{3610, "Playlist contains no MP3 files to export"};
inline constexpr EditingString kStrNoFilesToPlay{3611, "Playlist contains no MP3 files to play"};
// Not in the string table yet: shown when the server did not take a publish.
inline constexpr EditingString kStrPublishFailed{0, "The playlist could not be published to Corvanta."};
