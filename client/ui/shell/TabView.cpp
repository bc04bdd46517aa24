#include "client/ui/shell/TabView.h"

#include "client/ui/shell/ControlId.h"

#include <QResizeEvent>

CTabView::CTabView(const QString& windowName, QWidget* parent) : QWidget(parent)
{
    setObjectName(windowName);
}

void CTabView::Create(QWidget* parent, int controlId)
{
    if (parent != parentWidget())
        setParent(parent);
    hide();
    SetControlId(this, controlId);
}

bool CTabView::OnCmdMsg(unsigned id, CCommandUpdate* update)
{
    if (m_paneCommands && m_paneCommands->OnCmdMsg(id, update))
        return true;
    return OnViewCmdMsg(id, update);
}

bool CTabView::OnViewCmdMsg(unsigned, CCommandUpdate*)
{
    return false;
}

void CTabView::SetPane(QWidget* pane, ICommandTarget* commands)
{
    m_pane = pane;
    m_paneCommands = commands;
    if (pane && pane->parentWidget() != this)
        pane->setParent(this);
    if (pane)
        pane->resize(size());
}

void CTabView::resizeEvent(QResizeEvent* event)
{
    // The pane keeps its place at the view's origin and takes the whole size.
    if (m_pane)
        m_pane->resize(event->size());
    QWidget::resizeEvent(event);
}
