#pragma once
// A push button drawn with up to five pictures (normal, pressed, hover,
// hover-pressed, disabled) that lights up while the mouse is over it.
#include <QPixmap>
#include <QPushButton>
#include <QRegion>

class CHoverBitmapButton : public QPushButton {
public:
    explicit CHoverBitmapButton(int controlId, QWidget* parent = nullptr);

    /// Bitmap resource ids; 0 leaves that picture out.
    void SetBitmaps(unsigned normal, unsigned pressed, unsigned hover, unsigned hoverPressed, unsigned disabled);
    /// Only points inside region count as over the button (empty: the whole button).
    void SetHitRegion(const QRegion& region);
    /// Drawn as disabled even while enabled.
    void SetDrawnDisabled(bool drawnDisabled);

    bool Hovering() const { return m_hover; }
    /// Which picture a paint would draw now; null when the button has none.
    QPixmap CurrentPixmap() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool InsideHitRegion(const QPoint& point) const;
    void SetHover(bool hover);

    QPixmap m_normal;
    QPixmap m_pressed;
    QPixmap m_hoverPicture;
    QPixmap m_hoverPressed;
    QPixmap m_disabled;
    QRegion m_hitRegion;
    bool m_hover = false;
    bool m_drawnDisabled = false;
};
