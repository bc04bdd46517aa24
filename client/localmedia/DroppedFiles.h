#pragma once
// What a file dropped on one of the client's windows does, decided by its
// extension (ignoring case). The windows carry the action out.
#include <string>

enum class DropTarget {
    EditorTrackGrid,  ///< the playlist editor's track grid
    EditorPane,       ///< the playlist editor pane outside its grid
    MainWindow,
    ItemList,  ///< the item lists of the favorites and search panes
};

enum class DropAction {
    Ignore,
    AddMp3File,      ///< a track row from the file's tag (or its name)
    AddXmlDocument,  ///< what the saved answer document holds
};

/// On the track grid "mp3" adds the file and "xml" the document ("m3u" is
/// recognised and left alone); on the pane only "xml" counts; the main
/// window and the item lists accept every file and do nothing with it.
DropAction DropActionFor(DropTarget target, const std::string& path);
