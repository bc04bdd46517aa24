#pragma once
// The Create tab: hosts the my-playlists pane (control 100), which shows the
// playlist editor in its own place while a playlist is edited.
#include "client/ui/shell/TabView.h"

struct PaneServices;
class CAllPlaylistsPane;

class CPlaylistEditorView : public CTabView {
public:
    explicit CPlaylistEditorView(const PaneServices& services, QWidget* parent = nullptr);
    QString GetTitle() const override;
    CAllPlaylistsPane* AllPlaylistsPane() const { return m_pane; }

private:
    CAllPlaylistsPane* m_pane;
};
