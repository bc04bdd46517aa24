#pragma once
// The Favorites tab; its pane comes with the favorites pane.
#include "client/ui/shell/TabView.h"

class CBookmarkView : public CTabView {
public:
    explicit CBookmarkView(QWidget* parent = nullptr);
    QString GetTitle() const override;
};
