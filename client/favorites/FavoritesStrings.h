#pragma once
// Texts the favorites model shows, under their string table numbers.

inline constexpr int kIdsFavoritesNotAdded = 61595;
inline constexpr const char* kFavoritesNotAddedText =
    "An error occurred at the Corvanta server.\nThe following %s(s) have not been added to your favorites:\n%s";

inline constexpr int kIdsFavoritesNotRemoved = 61596;
inline constexpr const char* kFavoritesNotRemovedText =
    "An error occurred at the Corvanta server.\nThe following %s(s) have not been removed:\n%s";

inline constexpr int kIdsFavoriteNotMoved = 61605;
inline constexpr const char* kFavoriteNotMovedText =
    "An error occurred at the Corvanta server.\n%s: %s\nhas not been permanently moved.";
