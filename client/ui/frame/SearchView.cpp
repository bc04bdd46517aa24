#include "client/ui/frame/SearchView.h"

#include "client/resources/StringTable.h"

CSearchView::CSearchView(QWidget* parent) : CTabView(QStringLiteral("searchview"), parent) {}

QString CSearchView::GetTitle() const
{
    return QString::fromUtf8(LoadResourceString(IDS_TAB_SEARCH));
}
