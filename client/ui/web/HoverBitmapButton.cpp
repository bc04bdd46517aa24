#include "client/ui/web/HoverBitmapButton.h"

#include "client/resources/images/ResourceImages.h"
#include "client/ui/shell/ControlId.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

CHoverBitmapButton::CHoverBitmapButton(int controlId, QWidget* parent) : QPushButton(parent)
{
    SetControlId(this, controlId);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    // Every pixel is drawn by paintEvent; nothing is erased first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CHoverBitmapButton::SetBitmaps(unsigned normal, unsigned pressed, unsigned hover, unsigned hoverPressed,
                                    unsigned disabled)
{
    m_normal = normal != 0 ? LoadBitmapResource(normal) : QPixmap();
    m_pressed = pressed != 0 ? LoadBitmapResource(pressed) : QPixmap();
    m_hoverPicture = hover != 0 ? LoadBitmapResource(hover) : QPixmap();
    m_hoverPressed = hoverPressed != 0 ? LoadBitmapResource(hoverPressed) : QPixmap();
    m_disabled = disabled != 0 ? LoadBitmapResource(disabled) : QPixmap();
    updateGeometry();
    update();
}

void CHoverBitmapButton::SetHitRegion(const QRegion& region)
{
    m_hitRegion = region;
    if (m_hover && !InsideHitRegion(mapFromGlobal(QCursor::pos())))
        SetHover(false);
}

void CHoverBitmapButton::SetDrawnDisabled(bool drawnDisabled)
{
    m_drawnDisabled = drawnDisabled;
    update();
}

QPixmap CHoverBitmapButton::CurrentPixmap() const
{
    // The first picture that exists, in the order the state calls for.
    const auto first = [](std::initializer_list<const QPixmap*> order) {
        for (const QPixmap* picture : order)
            if (!picture->isNull())
                return *picture;
        return QPixmap();
    };
    const bool disabled = m_drawnDisabled || !isEnabled();
    if (!disabled && m_hover)
        return isDown() ? first({&m_hoverPressed, &m_hoverPicture, &m_pressed, &m_normal})
                        : first({&m_hoverPicture, &m_normal});
    if (disabled)
        return first({&m_disabled, &m_normal});
    if (isDown())
        return first({&m_pressed, &m_normal});
    return first({&m_normal});
}

QSize CHoverBitmapButton::sizeHint() const
{
    return m_normal.isNull() ? QPushButton::sizeHint() : m_normal.deviceIndependentSize().toSize();
}

void CHoverBitmapButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPixmap picture = CurrentPixmap();
    if (picture.isNull()) {
        painter.fillRect(rect(), palette().button());
        painter.drawText(rect(), Qt::AlignCenter, text());
        return;
    }
    painter.drawPixmap(0, 0, picture);
}

void CHoverBitmapButton::enterEvent(QEnterEvent* event)
{
    QPushButton::enterEvent(event);
    if (InsideHitRegion(event->position().toPoint()))
        SetHover(true);
}

void CHoverBitmapButton::leaveEvent(QEvent* event)
{
    QPushButton::leaveEvent(event);
    SetHover(false);
}

void CHoverBitmapButton::mouseMoveEvent(QMouseEvent* event)
{
    QPushButton::mouseMoveEvent(event);
    const QPoint point = event->position().toPoint();
    SetHover(rect().contains(point) && InsideHitRegion(point));
}

void CHoverBitmapButton::changeEvent(QEvent* event)
{
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        update();
}

bool CHoverBitmapButton::InsideHitRegion(const QPoint& point) const
{
    return m_hitRegion.isEmpty() || m_hitRegion.contains(point);
}

void CHoverBitmapButton::SetHover(bool hover)
{
    if (m_hover == hover)
        return;
    m_hover = hover;
    update();
}
