#include "client/search/SearchFormPane.h"

#include "client/resources/ResourceIds.h"
#include "client/search/AdvancedSearchForm.h"
#include "client/search/SimpleSearchForm.h"
#include "client/ui/shell/ColorTabCtrl.h"
#include "client/ui/shell/DialogUnits.h"

#include <QResizeEvent>

#include <algorithm>

namespace {

// Template 204: the tab strip 3 dialog units in from every edge.
const QRect kMarginUnits(3, 3, 3, 3);

}  // namespace

CSearchFormPane::CSearchFormPane(const PaneServices& services, QWidget* parent)
    : CBaseDlgPane(IDD_SEARCH_PANE, parent), m_services(services)
{
}

void CSearchFormPane::OnInitDialog()
{
    m_tabs = new CColorTabCtrl;
    m_tabs->Create(DialogUnitsToPixels(this, kMarginUnits), this, IDC_SEARCH_TABS);
    m_tabs->SetPaletteColors();
    m_tabs->AddListener(this);
    m_tabs->AddTab(kSimpleTab, QStringLiteral("Simple"));
    m_tabs->AddTab(kAdvancedTab, QStringLiteral("Advanced"));
    m_advanced = new CAdvancedSearchForm(m_services);
    m_advanced->Create(this, IDC_SEARCH_ADVANCED_FORM);
    m_simple = new CSimpleSearchForm(m_services);
    m_simple->CreateAndShow(this, IDC_SEARCH_SIMPLE_FORM);
}

int CSearchFormPane::NaturalHeight() const
{
    const QRect margins = DialogUnitsToPixels(this, kMarginUnits);
    return margins.y() + margins.height() + CColorTabCtrl::kBandHeight +
           std::max(m_simple->NaturalHeight(), m_advanced->NaturalHeight());
}

void CSearchFormPane::OnTabClicked(int controlId, int index)
{
    if (controlId != IDC_SEARCH_TABS)
        return;
    m_simple->setVisible(index == kSimpleTab);
    m_advanced->setVisible(index == kAdvancedTab);
}

void CSearchFormPane::resizeEvent(QResizeEvent* event)
{
    CBaseDlgPane::resizeEvent(event);
    if (!m_tabs)
        return;
    const QRect margins = DialogUnitsToPixels(this, kMarginUnits);
    const QRect strip(margins.x(), margins.y(), width() - margins.x() - margins.width(),
                      height() - margins.y() - margins.height());
    m_tabs->setGeometry(strip);
    const QRect display = CColorTabCtrl::AdjustRect(false, strip);
    m_simple->setGeometry(display);
    m_advanced->setGeometry(display);
}
