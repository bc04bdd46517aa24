#include "client/ui/frame/SearchView.h"

#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"
#include "client/search/SearchFormPane.h"
#include "client/search/SearchResultsPane.h"

#include <QResizeEvent>

#include <algorithm>

CSearchView::CSearchView(const PaneServices& services, QWidget* parent)
    : CTabView(QStringLiteral("searchview"), parent), m_form(new CSearchFormPane(services)),
      m_results(new CSearchResultsPane(services))
{
    m_form->CreateAndShow(this, IDC_SEARCH_FORM_PANE);
    m_results->CreateAndShow(this, IDC_TAB_PANE);
}

QString CSearchView::GetTitle() const
{
    return QString::fromUtf8(LoadResourceString(IDS_TAB_SEARCH));
}

bool CSearchView::OnViewCmdMsg(unsigned id, CCommandUpdate* update)
{
    return m_results->OnCmdMsg(id, update);
}

void CSearchView::resizeEvent(QResizeEvent* event)
{
    CTabView::resizeEvent(event);
    const QSize size = event->size();
    const int formHeight = std::min(m_form->NaturalHeight(), size.height());
    m_form->setGeometry(0, 0, size.width(), formHeight);
    m_results->setGeometry(0, formHeight, size.width(), size.height() - formHeight);
}
