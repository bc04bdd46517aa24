#pragma once
// A strip of tabs painted by the program: each tab 25 pixels high, as wide as
// its title plus "WW" in the selected font plus 10, laid out from the left
// without gaps, in seven colours (normal, selected and hot text and
// background, and the strip's band). The strip may cover its owner's whole
// client area: below the 26-pixel band it is transparent to the mouse and
// paints nothing.
#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

#include <vector>

class ITabStripListener;

class CColorTabCtrl : public QWidget {
public:
    static constexpr int kTabHeight = 25;
    static constexpr int kBandHeight = 26;

    explicit CColorTabCtrl(QWidget* parent = nullptr);

    /// Makes the strip a visible child of parent at rect with controlId.
    void Create(const QRect& rect, QWidget* parent, int controlId);

    /// Listeners are told in registration order; not owned.
    void AddListener(ITabStripListener* listener);
    /// Inserts a tab at index (at or past the end appends, growing the list to
    /// index + 1) and lays the tabs out again. Returns 1.
    int AddTab(int index, const QString& title);
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    QString GetItemTitle(int index) const;
    QRect GetItemRect(int index) const;

    int GetCurSel() const { return m_selected; }
    /// Selects index and repaints, without telling the listeners; returns the
    /// previous selection.
    int SetCurSel(int index);
    /// The tab under the mouse, or -1.
    int GetHotTab() const { return m_hot; }

    /// larger false: the area below the band (top + 26); true: bottom + 26.
    static QRect AdjustRect(bool larger, const QRect& rect);

    void SetNormalTextColor(const QColor& color);
    void SetNormalBackgroundColor(const QColor& color);
    void SetSelectedTextColor(const QColor& color);
    void SetSelectedBackgroundColor(const QColor& color);
    void SetHotTextColor(const QColor& color);
    void SetHotBackgroundColor(const QColor& color);
    void SetStripBackgroundColor(const QColor& color);
    /// All seven colours from the look-and-feel palette's tab colours.
    void SetPaletteColors();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct TabItem {
        QString title;
        int textWidth = 0;
        QRect rect;  // left, top, right (exclusive), bottom (exclusive)
    };

    void Layout();
    int TabAt(const QPoint& point) const;
    void SetHot(int index);

    std::vector<TabItem> m_items;
    int m_selected = 0;
    int m_hot = -1;
    bool m_capture = false;
    QColor m_normalText{255, 255, 255};
    QColor m_normalBackground{64, 64, 64};
    QColor m_selectedText{0, 255, 0};
    QColor m_selectedBackground{0, 0, 0};
    QColor m_hotText{255, 255, 255};
    QColor m_hotBackground{0, 0, 0};
    QColor m_stripBackground{255, 255, 0};
    QFont m_normalFont, m_selectedFont, m_hotFont;
    std::vector<ITabStripListener*> m_listeners;
};
