#pragma once
// The Create tab; its my-playlists pane comes with the editing panes.
#include "client/ui/shell/TabView.h"

class CPlaylistEditorView : public CTabView {
public:
    explicit CPlaylistEditorView(QWidget* parent = nullptr);
    QString GetTitle() const override;
};
