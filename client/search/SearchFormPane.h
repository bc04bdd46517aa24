#pragma once
// The upper pane of the Search tab: a strip of two tabs, Simple and Advanced,
// over the form of the tab clicked last (the simple form at first).
#include "client/ui/shell/BaseDlgPane.h"
#include "client/ui/shell/PaneServices.h"
#include "client/ui/shell/TabStripListener.h"

class CAdvancedSearchForm;
class CColorTabCtrl;
class CSimpleSearchForm;

class CSearchFormPane : public CBaseDlgPane, public ITabStripListener {
public:
    enum Tab { kSimpleTab = 0, kAdvancedTab = 1 };

    explicit CSearchFormPane(const PaneServices& services, QWidget* parent = nullptr);

    CColorTabCtrl* TabStrip() const { return m_tabs; }
    CSimpleSearchForm* SimpleForm() const { return m_simple; }
    CAdvancedSearchForm* AdvancedForm() const { return m_advanced; }
    /// The height that shows either form whole.
    int NaturalHeight() const;

    void OnTabClicked(int controlId, int index) override;

protected:
    void OnInitDialog() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    PaneServices m_services;
    CColorTabCtrl* m_tabs = nullptr;
    CAdvancedSearchForm* m_advanced = nullptr;
    CSimpleSearchForm* m_simple = nullptr;
};
