#include "client/ui/shell/BaseDlgPane.h"

#include "client/resources/StringTable.h"
#include "client/ui/shell/ControlId.h"
#include "client/ui/shell/LookAndFeelEvent.h"
#include "client/ui/shell/LookAndFeelPalette.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolTip>

CBaseDlgPane::CBaseDlgPane(unsigned templateId, QWidget* parent)
    : QWidget(parent), m_templateId(templateId), m_background(LookAndFeelPalette::paneBackground())
{
    ApplyStaticColors();
}

void CBaseDlgPane::Create(QWidget* parent, int controlId)
{
    if (parent != parentWidget())
        setParent(parent);
    hide();
    SetControlId(this, controlId);
    if (!m_created) {
        m_created = true;
        m_background = LookAndFeelPalette::paneBackground();
        OnInitDialog();
        ApplyStaticColors();
    }
}

void CBaseDlgPane::CreateAndShow(QWidget* parent, int controlId)
{
    Create(parent, controlId);
    show();
}

bool CBaseDlgPane::OnCmdMsg(unsigned, CCommandUpdate*)
{
    return false;
}

bool CBaseDlgPane::OnLookAndFeel()
{
    SetBackgroundColor(LookAndFeelPalette::paneBackground());
    return true;
}

void CBaseDlgPane::SetBackgroundColor(const QColor& color)
{
    m_background = color;
    ApplyStaticColors();
    update();
}

void CBaseDlgPane::ApplyStaticColors()
{
    // Labels, group boxes, check boxes and radio buttons draw with the window
    // roles; read-only edits take the same colours, as static texts do.
    const QColor text = LookAndFeelPalette::paneText();
    QPalette pal = palette();
    pal.setColor(QPalette::Window, m_background);
    pal.setColor(QPalette::WindowText, text);
    setPalette(pal);
    auto readOnlyColors = [&](QWidget* edit) {
        QPalette editPal = edit->palette();
        editPal.setColor(QPalette::Base, m_background);
        editPal.setColor(QPalette::Text, text);
        edit->setPalette(editPal);
    };
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        if (edit->isReadOnly())
            readOnlyColors(edit);
    }
    for (QTextEdit* edit : findChildren<QTextEdit*>()) {
        if (edit->isReadOnly())
            readOnlyColors(edit);
    }
    for (QPlainTextEdit* edit : findChildren<QPlainTextEdit*>()) {
        if (edit->isReadOnly())
            readOnlyColors(edit);
    }
}

bool CBaseDlgPane::event(QEvent* event)
{
    if (event->type() == LookAndFeelEvent::Type()) {
        event->setAccepted(OnLookAndFeel());
        return true;
    }
    // A control without a tip of its own passes the request up to its pane.
    if (event->type() == QEvent::ToolTip && ShowControlToolTip(event))
        return true;
    return QWidget::event(event);
}

void CBaseDlgPane::SetToolTipString(int controlId, unsigned stringId)
{
    m_toolTipStrings[controlId] = stringId;
}

void CBaseDlgPane::RestoreToolTipString(int controlId)
{
    m_toolTipStrings.erase(controlId);
}

QString CBaseDlgPane::ToolTipText(int controlId) const
{
    const auto swapped = m_toolTipStrings.find(controlId);
    const unsigned id = swapped != m_toolTipStrings.end() ? swapped->second : static_cast<unsigned>(controlId);
    return HasResourceString(id) ? QString::fromUtf8(LoadResourceString(id)) : QString();
}

bool CBaseDlgPane::ShowControlToolTip(QEvent* event)
{
    auto* help = static_cast<QHelpEvent*>(event);
    // The innermost control of this pane under the point.
    for (QWidget* widget = childAt(help->pos()); widget && widget != this; widget = widget->parentWidget()) {
        const int id = ControlId(widget);
        if (id == 0)
            continue;
        const QString text = ToolTipText(id);
        if (text.isEmpty())
            break;
        QToolTip::showText(help->globalPos(), text, widget);
        return true;
    }
    QToolTip::hideText();
    event->ignore();
    return false;
}

void CBaseDlgPane::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
}

void CBaseDlgPane::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OnOK();
        event->accept();
        return;
    case Qt::Key_Escape:
        OnCancel();
        event->accept();
        return;
    default: QWidget::keyPressEvent(event);
    }
}
