#pragma once
// The Search tab; its form and results panes come with the search panes.
#include "client/ui/shell/TabView.h"

class CSearchView : public CTabView {
public:
    explicit CSearchView(QWidget* parent = nullptr);
    QString GetTitle() const override;
};
