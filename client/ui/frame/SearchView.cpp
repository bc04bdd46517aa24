#include "client/ui/frame/SearchView.h"

#include "client/resources/StringTable.h"

CSearchView::CSearchView(const PaneServices& services, QWidget* parent)
    : CTabView(QStringLiteral("searchview"), parent), m_services(services)
{
}

QString CSearchView::GetTitle() const
{
    return QString::fromUtf8(LoadResourceString(IDS_TAB_SEARCH));
}
