#include "client/ui/shell/ColorButton.h"

#include "client/ui/shell/LookAndFeelPalette.h"

#include <QMouseEvent>
#include <QPainter>

CColorButton::CColorButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent), m_normalText(LookAndFeelPalette::buttonText()),
      m_normalFace(LookAndFeelPalette::buttonFace()), m_pressedText(255, 255, 255), m_pressedFace(0, 255, 0),
      m_hotText(LookAndFeelPalette::buttonHotText()), m_hotFace(LookAndFeelPalette::buttonHotFace()),
      m_hotPressedText(LookAndFeelPalette::buttonText()), m_hotPressedFace(LookAndFeelPalette::buttonFace()),
      m_disabledText(LookAndFeelPalette::buttonDisabledText()), m_disabledFace(LookAndFeelPalette::buttonDisabledFace())
{
    setAttribute(Qt::WA_Hover);
}

void CColorButton::SetLatched(bool latched)
{
    if (m_latched != latched) {
        m_latched = latched;
        update();
    }
}

void CColorButton::SetNormalColors(const QColor& text, const QColor& face)
{
    m_normalText = text;
    m_normalFace = face;
    update();
}

void CColorButton::SetPressedColors(const QColor& text, const QColor& face)
{
    m_pressedText = text;
    m_pressedFace = face;
    update();
}

void CColorButton::SetHotColors(const QColor& text, const QColor& face)
{
    m_hotText = text;
    m_hotFace = face;
    update();
}

void CColorButton::SetHotPressedColors(const QColor& text, const QColor& face)
{
    m_hotPressedText = text;
    m_hotPressedFace = face;
    update();
}

void CColorButton::SetDisabledColors(const QColor& text, const QColor& face)
{
    m_disabledText = text;
    m_disabledFace = face;
    update();
}

void CColorButton::SetFrame(bool frame, const QColor& color)
{
    m_frame = frame;
    m_frameColor = color;
    update();
}

void CColorButton::SetFont(const QString& faceName, int tenthsOfPoint, bool bold)
{
    m_faceName = faceName;
    m_fontSize = tenthsOfPoint;
    m_bold = bold;
    update();
}

std::pair<QColor, QColor> CColorButton::CurrentColors() const
{
    if (!isEnabled())
        return {m_disabledText, m_disabledFace};
    const bool pressed = isDown() || m_latched;
    if (!m_hot)
        return pressed ? std::pair{m_pressedText, m_pressedFace} : std::pair{m_normalText, m_normalFace};
    return pressed ? std::pair{m_hotPressedText, m_hotPressedFace} : std::pair{m_hotText, m_hotFace};
}

void CColorButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QFont font(m_faceName);
    font.setPointSizeF(m_fontSize / 10.0);
    font.setWeight(m_bold ? QFont::Bold : QFont::Normal);
    painter.setFont(font);

    QRect area = rect();
    if (m_frame) {
        painter.setPen(m_frameColor);
        painter.drawRect(area.adjusted(0, 0, -1, -1));
        area.adjust(1, 1, -1, -1);
    }
    const auto [textColor, faceColor] = CurrentColors();
    painter.fillRect(area, faceColor);
    painter.setPen(textColor);
    painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, text());
}

void CColorButton::enterEvent(QEnterEvent* event)
{
    // Hover lasts from the cursor's arrival until it leaves the button.
    if (!m_capture) {
        m_capture = true;
        SetHot(true);
    }
    QPushButton::enterEvent(event);
}

void CColorButton::leaveEvent(QEvent* event)
{
    m_capture = false;
    SetHot(false);
    QPushButton::leaveEvent(event);
}

void CColorButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_ignoreNextPress) {
        m_ignoreNextPress = false;
        event->accept();
        return;
    }
    QPushButton::mousePressEvent(event);
}

void CColorButton::SetHot(bool hot)
{
    if (m_hot != hot) {
        m_hot = hot;
        update();
    }
}
