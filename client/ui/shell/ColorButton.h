#pragma once
// A flat push button drawn by the program: a face and a centred caption in
// one of five colour pairs (normal, pressed, hot, hot and pressed, disabled).
// It copies the palette's button colours when it is made and keeps them.
#include <QColor>
#include <QPushButton>
#include <QString>

#include <utility>

class CColorButton : public QPushButton {
public:
    explicit CColorButton(const QString& caption = QString(), QWidget* parent = nullptr);

    /// Drawn as pressed while set.
    void SetLatched(bool latched);
    bool IsLatched() const { return m_latched; }
    /// The next left-button press is swallowed while set (then cleared).
    void SetIgnoreNextPress(bool ignore) { m_ignoreNextPress = ignore; }
    bool IgnoresNextPress() const { return m_ignoreNextPress; }
    /// The mouse is over the button.
    bool IsHot() const { return m_hot; }

    void SetNormalColors(const QColor& text, const QColor& face);
    void SetPressedColors(const QColor& text, const QColor& face);
    void SetHotColors(const QColor& text, const QColor& face);
    void SetHotPressedColors(const QColor& text, const QColor& face);
    void SetDisabledColors(const QColor& text, const QColor& face);
    void SetFrame(bool frame, const QColor& color = QColor(0, 0, 0));
    /// size in tenths of a point.
    void SetFont(const QString& faceName, int tenthsOfPoint, bool bold);

    /// The pair drawn now: {text, face}.
    std::pair<QColor, QColor> CurrentColors() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void SetHot(bool hot);

    bool m_latched = false;
    bool m_hot = false;
    bool m_capture = false;
    bool m_ignoreNextPress = false;
    QColor m_normalText, m_normalFace;
    QColor m_pressedText, m_pressedFace;
    QColor m_hotText, m_hotFace;
    QColor m_hotPressedText, m_hotPressedFace;
    QColor m_disabledText, m_disabledFace;
    QColor m_frameColor{0, 0, 0};
    int m_fontSize = 75;
    QString m_faceName = QStringLiteral("Verdana");
    bool m_bold = true;
    bool m_frame = false;
};
