#include "client/ui/frame/LoginStatusBar.h"

#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"
#include "client/ui/shell/ControlId.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

namespace {

constexpr unsigned kIndicators[] = {ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

// X11 modifier bits of the lock keys, as the key events report them.
constexpr quint32 kX11LockMask = 0x02;
constexpr quint32 kX11NumLockMask = 0x10;

int IndicatorIndex(unsigned indicator)
{
    for (int i = 0; i < 3; ++i) {
        if (kIndicators[i] == indicator)
            return i;
    }
    return -1;
}

QString Text(unsigned id)
{
    return QString::fromUtf8(LoadResourceString(id));
}

}  // namespace

CLoginStatusBar::CLoginStatusBar(QWidget* parent) : QStatusBar(parent)
{
    SetControlId(this, IDC_STATUS_BAR);
    setSizeGripEnabled(false);
    for (int i = 0; i < kPaneCount; ++i) {
        m_panes[static_cast<std::size_t>(i)] = new QLabel(this);
        m_panes[static_cast<std::size_t>(i)]->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    }
    addWidget(m_panes[0], 1);
    const QScreen* screen = QGuiApplication::primaryScreen();
    m_panes[1]->setFixedWidth(screen ? screen->geometry().width() / 4 : 200);
    addWidget(m_panes[1]);
    for (int i = 0; i < 3; ++i) {
        QLabel* pane = m_panes[static_cast<std::size_t>(i + 2)];
        pane->setMinimumWidth(QFontMetrics(pane->font()).horizontalAdvance(Text(kIndicators[i])) + 8);
        pane->setAlignment(Qt::AlignCenter);
        addWidget(pane);
    }
    ShowIdlePrompt();
    SetPaneText(1, Text(IDS_NOT_LOGGED_IN));
    qApp->installEventFilter(this);
}

CLoginStatusBar::~CLoginStatusBar()
{
    qApp->removeEventFilter(this);
}

QString CLoginStatusBar::PaneText(int pane) const
{
    return pane >= 0 && pane < kPaneCount ? m_panes[static_cast<std::size_t>(pane)]->text() : QString();
}

void CLoginStatusBar::SetPaneText(int pane, const QString& text)
{
    if (pane >= 0 && pane < kPaneCount)
        m_panes[static_cast<std::size_t>(pane)]->setText(text);
}

void CLoginStatusBar::ShowIdlePrompt()
{
    SetPaneText(0, Text(IDS_IDLE_MESSAGE));
}

void CLoginStatusBar::OnSessionChanged(const std::string& handle, const std::string&)
{
    if (handle.empty())
        SetPaneText(1, Text(IDS_NOT_LOGGED_IN));
    else
        SetPaneText(1, Text(IDS_LOGGED_IN_FMT).replace(QLatin1String("%s"), QString::fromLocal8Bit(handle)));
}

void CLoginStatusBar::SetLockState(unsigned indicator, bool on)
{
    const int index = IndicatorIndex(indicator);
    if (index < 0)
        return;
    m_locks[static_cast<std::size_t>(index)] = on;
    SetPaneText(index + 2, on ? Text(indicator) : QString());
}

bool CLoginStatusBar::LockState(unsigned indicator) const
{
    const int index = IndicatorIndex(indicator);
    return index >= 0 && m_locks[static_cast<std::size_t>(index)];
}

bool CLoginStatusBar::eventFilter(QObject* watched, QEvent* event)
{
    // Each key press reaches its top-level window once; the widgets after it
    // may see it several times as it propagates.
    if (event->type() == QEvent::KeyPress && watched->isWindowType()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // On X11 every key event carries the lock state from before the key.
        if (QGuiApplication::platformName() == QLatin1String("xcb") && key->nativeModifiers() != 0) {
            SetLockState(ID_INDICATOR_CAPS, (key->nativeModifiers() & kX11LockMask) != 0);
            SetLockState(ID_INDICATOR_NUM, (key->nativeModifiers() & kX11NumLockMask) != 0);
        }
        if (!key->isAutoRepeat()) {
            switch (key->key()) {
            case Qt::Key_CapsLock: SetLockState(ID_INDICATOR_CAPS, !LockState(ID_INDICATOR_CAPS)); break;
            case Qt::Key_NumLock: SetLockState(ID_INDICATOR_NUM, !LockState(ID_INDICATOR_NUM)); break;
            case Qt::Key_ScrollLock: SetLockState(ID_INDICATOR_SCRL, !LockState(ID_INDICATOR_SCRL)); break;
            default: break;
            }
        }
    }
    return QStatusBar::eventFilter(watched, event);
}
