#include "client/ui/shell/AnimationCtrl.h"

#include "client/resources/images/ResourceImages.h"

#include <QPainter>

CAnimationCtrl::CAnimationCtrl(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    connect(&m_timer, &QTimer::timeout, this, &CAnimationCtrl::Advance);
}

bool CAnimationCtrl::Open(unsigned id)
{
    m_frames = LoadAnimationFrames(id);
    m_current = 0;
    update();
    return !m_frames.isEmpty();
}

void CAnimationCtrl::Play(std::chrono::milliseconds interval)
{
    if (!m_frames.isEmpty())
        m_timer.start(interval);
}

void CAnimationCtrl::Stop()
{
    m_timer.stop();
}

QSize CAnimationCtrl::sizeHint() const
{
    return m_frames.isEmpty() ? QSize(0, 0) : m_frames.front().size();
}

void CAnimationCtrl::paintEvent(QPaintEvent*)
{
    if (m_frames.isEmpty())
        return;
    QPainter painter(this);
    const QPixmap& frame = m_frames[m_current];
    painter.drawPixmap((width() - frame.width()) / 2, (height() - frame.height()) / 2, frame);
}

void CAnimationCtrl::Advance()
{
    m_current = (m_current + 1) % static_cast<int>(m_frames.size());
    update();
}
