#pragma once
// The Search tab: the search form pane (control 99) at its natural height
// above the search results pane (control 100), which takes the rest; both
// follow the view's width. Commands go to the results pane.
#include "client/ui/shell/TabView.h"

struct PaneServices;
class CSearchFormPane;
class CSearchResultsPane;

class CSearchView : public CTabView {
public:
    explicit CSearchView(const PaneServices& services, QWidget* parent = nullptr);
    QString GetTitle() const override;
    CSearchFormPane* FormPane() const { return m_form; }
    CSearchResultsPane* ResultsPane() const { return m_results; }

protected:
    bool OnViewCmdMsg(unsigned id, CCommandUpdate* update) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CSearchFormPane* m_form;
    CSearchResultsPane* m_results;
};
