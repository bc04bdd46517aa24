#pragma once
// What the panes of the tab views work with, handed down from the application
// object through the main frame and the child view to each tab view and pane.
// No pane reaches for a global: a test builds the frame over its own models.
// Every pointer may be null (a pane then does without); the objects outlive
// the frame. The frame fills in detailPages with its own detail viewer.
//
//   PaneServices services;
//   services.session = &core.Session();
//   services.favorites = core.FavoritesModel();
//   services.playlists = core.PlaylistStore();
//   ...
//   auto* frame = new CMainFrame(core.Session(), services, application);
class CFavoritesModel;
class CLookupTablesModel;
class CPlaylistStore;
class CSearchController;
class CSession;
class IClipboardStore;
class IDetailPages;
class ILocalTrackLibrary;
class IPreviewCalls;

struct PaneServices {
    CSession* session = nullptr;
    CFavoritesModel* favorites = nullptr;
    CPlaylistStore* playlists = nullptr;
    CSearchController* search = nullptr;
    CLookupTablesModel* lookupTables = nullptr;
    /// The right-hand detail viewer of the main window.
    IDetailPages* detailPages = nullptr;
    /// The application's track and playlist previews.
    IPreviewCalls* previews = nullptr;
    /// The local track library (performance number -> the member's MP3 file).
    ILocalTrackLibrary* localFiles = nullptr;
    /// The system clipboard.
    IClipboardStore* clipboard = nullptr;
};
