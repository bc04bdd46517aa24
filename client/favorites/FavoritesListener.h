#pragma once
// Observer of the favorites model, told on the user-interface thread.
#include <cstdint>

struct CBookmarkOperation;

class IFavoritesListener {
public:
    /// The lists were emptied because a member logged in; a load follows.
    virtual void OnFavoritesReset() = 0;
    /// The lists are filled (also told at once on registration once loaded).
    virtual void OnFavoritesLoaded() = 0;
    /// The member logged out; the lists are empty.
    virtual void OnFavoritesCleared() = 0;
    /// Empty and refill the view; the model itself never raises it.
    virtual void OnFavoritesReload() = 0;
    /// A record was appended at index of the list of that BookmarkType.
    virtual void OnFavoriteAdded(std::int32_t type, std::int32_t index) = 0;
    /// The operation's items have left the favorites (success set: a removal
    /// was confirmed or an add failed) or stay (success clear: a removal failed).
    virtual void OnOperationFinished(CBookmarkOperation* operation) = 0;

protected:
    ~IFavoritesListener() = default;
};
