#pragma once
// The process-wide look-and-feel colours. Panes read them whenever they paint;
// tab strips and buttons copy them when they are made. A scheme changes some
// of them; windows learn of it through the look-and-feel event
// (LookAndFeelEvent.h). User-interface thread only.
#include <QColor>

class LookAndFeelPalette {
public:
    static QColor paneBackground();
    static QColor paneText();
    static QColor tabStripBackground();
    static QColor tabNormalText();
    static QColor tabNormalBackground();
    static QColor tabSelectedText();
    static QColor tabSelectedBackground();
    static QColor tabHotText();
    static QColor tabHotBackground();
    static QColor buttonText();
    static QColor buttonFace();
    static QColor buttonHotText();
    static QColor buttonHotFace();
    static QColor buttonDisabledText();
    static QColor buttonDisabledFace();
    static QColor gridBackground();
    static QColor gridText();

    static void SetPaneBackground(const QColor& c);
    static void SetPaneText(const QColor& c);
    static void SetTabNormalText(const QColor& c);
    static void SetTabNormalBackground(const QColor& c);
    static void SetTabSelectedText(const QColor& c);
    static void SetTabSelectedBackground(const QColor& c);
    static void SetTabHotText(const QColor& c);
    static void SetTabHotBackground(const QColor& c);
    static void SetButtonFace(const QColor& c);

    /// Back to the values the process starts with (for tests).
    static void ResetToStartValues();
};

/// Schemes 0 to 3 set their colours and leave the others; any other number
/// changes nothing.
void ApplyLookAndFeelScheme(int scheme);
