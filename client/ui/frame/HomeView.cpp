#include "client/ui/frame/HomeView.h"

#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"
#include "client/ui/shell/ControlId.h"
#include "client/ui/web/HomePane.h"

CHomeView::CHomeView(CSession& session, QWidget* parent)
    : CTabView(QStringLiteral("homeview"), parent), m_homePane(new CHomePane(session, this))
{
    SetControlId(m_homePane, IDC_TAB_PANE);
    SetPane(m_homePane);
    m_homePane->show();
}

QString CHomeView::GetTitle() const
{
    return QString::fromUtf8(LoadResourceString(IDS_TAB_HOME));
}
