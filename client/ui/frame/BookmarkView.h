#pragma once
// The Favorites tab: hosts the favorites pane (control 100).
#include "client/ui/shell/TabView.h"

struct PaneServices;
class CBookmarkPane;

class CBookmarkView : public CTabView {
public:
    explicit CBookmarkView(const PaneServices& services, QWidget* parent = nullptr);
    QString GetTitle() const override;
    CBookmarkPane* BookmarkPane() const { return m_pane; }

private:
    CBookmarkPane* m_pane;
};
