#pragma once
// The Create tab; its my-playlists pane comes with the editing panes, made
// here from the services like the other tabs' panes.
#include "client/ui/shell/PaneServices.h"
#include "client/ui/shell/TabView.h"

class CPlaylistEditorView : public CTabView {
public:
    explicit CPlaylistEditorView(const PaneServices& services, QWidget* parent = nullptr);
    QString GetTitle() const override;

private:
    PaneServices m_services;
};
