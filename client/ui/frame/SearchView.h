#pragma once
// The Search tab; its form and results panes come with the search panes, made
// here from the services like the other tabs' panes.
#include "client/ui/shell/PaneServices.h"
#include "client/ui/shell/TabView.h"

class CSearchView : public CTabView {
public:
    explicit CSearchView(const PaneServices& services, QWidget* parent = nullptr);
    QString GetTitle() const override;

private:
    PaneServices m_services;
};
