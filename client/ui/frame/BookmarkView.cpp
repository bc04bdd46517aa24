#include "client/ui/frame/BookmarkView.h"

#include "client/resources/StringTable.h"

CBookmarkView::CBookmarkView(QWidget* parent) : CTabView(QStringLiteral("bookmarkview"), parent) {}

QString CBookmarkView::GetTitle() const
{
    return QString::fromUtf8(LoadResourceString(IDS_TAB_FAVORITES));
}
