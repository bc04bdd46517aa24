#include "client/ui/shell/ColorTabCtrl.h"

#include "client/ui/shell/TabStripListener.h"
#include "client/ui/shell/ControlId.h"
#include "client/ui/shell/LookAndFeelPalette.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace {

QFont TabFont()
{
    QFont font(QStringLiteral("Verdana"));
    font.setPointSize(10);
    font.setWeight(QFont::Bold);
    return font;
}

}  // namespace

CColorTabCtrl::CColorTabCtrl(QWidget* parent)
    : QWidget(parent), m_normalFont(TabFont()), m_selectedFont(TabFont()), m_hotFont(TabFont())
{
    setWindowTitle(QStringLiteral("tabctrl"));
    setMouseTracking(true);
}

void CColorTabCtrl::Create(const QRect& rect, QWidget* parent, int controlId)
{
    if (parent != parentWidget())
        setParent(parent);
    SetControlId(this, controlId);
    setGeometry(rect);
    show();
}

void CColorTabCtrl::AddListener(ITabStripListener* listener)
{
    m_listeners.push_back(listener);
}

int CColorTabCtrl::AddTab(int index, const QString& title)
{
    if (index < 0)
        index = 0;
    TabItem item;
    item.title = title;
    item.textWidth = QFontMetrics(m_selectedFont).horizontalAdvance(title + QStringLiteral("WW"));
    if (index >= GetItemCount()) {
        m_items.resize(static_cast<std::size_t>(index));
        m_items.push_back(item);
    } else {
        m_items.insert(m_items.begin() + index, item);
    }
    Layout();
    update();
    return 1;
}

QString CColorTabCtrl::GetItemTitle(int index) const
{
    return index >= 0 && index < GetItemCount() ? m_items[static_cast<std::size_t>(index)].title : QString();
}

QRect CColorTabCtrl::GetItemRect(int index) const
{
    return index >= 0 && index < GetItemCount() ? m_items[static_cast<std::size_t>(index)].rect : QRect();
}

int CColorTabCtrl::SetCurSel(int index)
{
    const int previous = m_selected;
    m_selected = index;
    update();
    return previous;
}

QRect CColorTabCtrl::AdjustRect(bool larger, const QRect& rect)
{
    QRect adjusted = rect;
    if (larger)
        adjusted.setBottom(rect.bottom() + kBandHeight);
    else
        adjusted.setTop(rect.top() + kBandHeight);
    return adjusted;
}

void CColorTabCtrl::SetNormalTextColor(const QColor& color)
{
    m_normalText = color;
    update();
}
void CColorTabCtrl::SetNormalBackgroundColor(const QColor& color)
{
    m_normalBackground = color;
    update();
}
void CColorTabCtrl::SetSelectedTextColor(const QColor& color)
{
    m_selectedText = color;
    update();
}
void CColorTabCtrl::SetSelectedBackgroundColor(const QColor& color)
{
    m_selectedBackground = color;
    update();
}
void CColorTabCtrl::SetHotTextColor(const QColor& color)
{
    m_hotText = color;
    update();
}
void CColorTabCtrl::SetHotBackgroundColor(const QColor& color)
{
    m_hotBackground = color;
    update();
}
void CColorTabCtrl::SetStripBackgroundColor(const QColor& color)
{
    m_stripBackground = color;
    update();
}

void CColorTabCtrl::Layout()
{
    int x = 0;
    for (TabItem& item : m_items) {
        const int right = x + item.textWidth + 10;
        item.rect = QRect(QPoint(x, 0), QPoint(right - 1, kTabHeight - 1));
        x = right;
    }
}

int CColorTabCtrl::TabAt(const QPoint& point) const
{
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].rect.contains(point))
            return static_cast<int>(i);
    }
    return -1;
}

void CColorTabCtrl::SetHot(int index)
{
    if (m_hot != index) {
        m_hot = index;
        update();
    }
}

void CColorTabCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPen outline(Qt::black, 1);

    // The band: its baseline right of the last tab, then the strip colour above it.
    const int lastRight = m_items.empty() ? 0 : m_items.back().rect.right() + 1;
    painter.setPen(outline);
    painter.drawLine(lastRight, kTabHeight, width(), kTabHeight);
    painter.fillRect(QRect(0, 0, width(), kTabHeight), m_stripBackground);

    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const TabItem& item = m_items[i];
        const int index = static_cast<int>(i);
        const bool selected = index == m_selected;
        const bool hot = index == m_hot;
        const QColor& background = hot ? m_hotBackground : selected ? m_selectedBackground : m_normalBackground;
        const QColor& text = hot ? m_hotText : selected ? m_selectedText : m_normalText;
        const QFont& font = hot ? m_hotFont : selected ? m_selectedFont : m_normalFont;

        const int left = item.rect.left();
        const int right = item.rect.right() + 1;
        painter.fillRect(QRect(left, 0, right - left, kBandHeight), background);
        painter.setFont(font);
        painter.setPen(text);
        painter.drawText(item.rect, Qt::AlignCenter | Qt::TextSingleLine, item.title);

        painter.setPen(outline);
        if (selected) {
            // Left, top and right edges; the bottom stays open into the pane.
            painter.drawLine(left, kTabHeight, left, 0);
            painter.drawLine(left, 0, right - 1, 0);
            painter.drawLine(right - 1, 0, right - 1, kTabHeight);
        } else {
            painter.drawLine(left, kTabHeight, right - 1, kTabHeight);
        }
    }
}

void CColorTabCtrl::resizeEvent(QResizeEvent* event)
{
    // Below the band the windows beneath get the mouse.
    setMask(QRegion(0, 0, width(), kBandHeight));
    QWidget::resizeEvent(event);
}

void CColorTabCtrl::enterEvent(QEnterEvent* event)
{
    m_capture = true;
    QWidget::enterEvent(event);
}

void CColorTabCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (!rect().contains(point) || point.y() >= kBandHeight) {
        m_capture = false;
        SetHot(-1);
    } else {
        m_capture = true;
        SetHot(TabAt(point));
    }
    QWidget::mouseMoveEvent(event);
}

void CColorTabCtrl::leaveEvent(QEvent* event)
{
    m_capture = false;
    SetHot(-1);
    QWidget::leaveEvent(event);
}

void CColorTabCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const int index = TabAt(event->position().toPoint());
        if (index >= 0) {
            m_selected = index;
            const std::vector<ITabStripListener*> listeners = m_listeners;
            for (ITabStripListener* listener : listeners)
                listener->OnTabClicked(ControlId(this), index);
        }
        update();
    }
    QWidget::mousePressEvent(event);
}

void CColorTabCtrl::SetPaletteColors()
{
    SetSelectedBackgroundColor(LookAndFeelPalette::tabSelectedBackground());
    SetNormalBackgroundColor(LookAndFeelPalette::tabNormalBackground());
    SetSelectedTextColor(LookAndFeelPalette::tabSelectedText());
    SetNormalTextColor(LookAndFeelPalette::tabNormalText());
    SetStripBackgroundColor(LookAndFeelPalette::tabStripBackground());
    SetHotBackgroundColor(LookAndFeelPalette::tabHotBackground());
    SetHotTextColor(LookAndFeelPalette::tabHotText());
}
