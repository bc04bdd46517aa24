#include "client/ui/web/ProgressDlg.h"

#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"
#include "client/ui/shell/AnimationCtrl.h"
#include "client/ui/shell/ControlId.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace {

// Dialog units of the template in pixels, for its 8-point font (6 x 13 base units).
constexpr int X(int units)
{
    return units * 6 / 4;
}
constexpr int Y(int units)
{
    return units * 13 / 8;
}

}  // namespace

CProgressDlg::CProgressDlg() : QDialog(nullptr) {}

void CProgressDlg::Create(QWidget* parent)
{
    // A caption and a frame, but no system menu or close button.
    setParent(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    SetControlId(this, static_cast<int>(IDD_PROGRESS));
    setWindowTitle(QString::fromUtf8(LoadResourceString(IDS_APP_TITLE)));
    setFixedSize(X(219), Y(74));

    m_animation = new CAnimationCtrl(this);
    SetControlId(m_animation, IDC_PROGRESS_ANIMATION);
    m_animation->setGeometry(X(7), Y(7), X(205), Y(30));

    m_messageLabel = new QLabel(this);
    SetControlId(m_messageLabel, IDC_PROGRESS_MESSAGE);
    m_messageLabel->setAlignment(Qt::AlignCenter);
    m_messageLabel->setGeometry(X(7), Y(48), X(205), Y(8) + 4);
    m_messageLabel->setText(QString::fromStdString(m_message));

    if (m_animation->Open(IDR_ANIMATION))
        m_animation->Play();
}

void CProgressDlg::CenterOn(const QWidget* owner)
{
    QRect area;
    if (owner != nullptr && owner->isVisible())
        area = owner->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - rect().center());
}

void CProgressDlg::SetText(const std::string& text)
{
    m_message = text;
    if (m_messageLabel != nullptr)
        m_messageLabel->setText(QString::fromStdString(m_message));
}

void CProgressDlg::SetTextId(unsigned id)
{
    SetText(LoadResourceString(id));
}

void CProgressDlg::closeEvent(QCloseEvent* event)
{
    event->ignore();
}
