#include "client/ui/shell/LookAndFeelPalette.h"

namespace {

struct Palette {
    QColor paneBackground{128, 128, 128};
    QColor paneText{0, 0, 0};
    QColor tabStripBackground{128, 128, 128};
    QColor tabNormalText{255, 255, 255};
    QColor tabNormalBackground{128, 128, 128};
    QColor tabSelectedText{255, 255, 255};
    QColor tabSelectedBackground{128, 128, 128};
    QColor tabHotText{255, 102, 0};
    QColor tabHotBackground{128, 128, 128};
    QColor buttonText{255, 255, 255};
    QColor buttonFace{64, 64, 64};
    QColor buttonHotText{255, 102, 0};
    QColor buttonHotFace{64, 64, 64};
    QColor buttonDisabledText{128, 128, 128};
    QColor buttonDisabledFace{64, 64, 64};
    QColor gridBackground{192, 192, 192};
    QColor gridText{0, 0, 0};
};

Palette& Current()
{
    static Palette palette;
    return palette;
}

}  // namespace

QColor LookAndFeelPalette::paneBackground()
{
    return Current().paneBackground;
}
QColor LookAndFeelPalette::paneText()
{
    return Current().paneText;
}
QColor LookAndFeelPalette::tabStripBackground()
{
    return Current().tabStripBackground;
}
QColor LookAndFeelPalette::tabNormalText()
{
    return Current().tabNormalText;
}
QColor LookAndFeelPalette::tabNormalBackground()
{
    return Current().tabNormalBackground;
}
QColor LookAndFeelPalette::tabSelectedText()
{
    return Current().tabSelectedText;
}
QColor LookAndFeelPalette::tabSelectedBackground()
{
    return Current().tabSelectedBackground;
}
QColor LookAndFeelPalette::tabHotText()
{
    return Current().tabHotText;
}
QColor LookAndFeelPalette::tabHotBackground()
{
    return Current().tabHotBackground;
}
QColor LookAndFeelPalette::buttonText()
{
    return Current().buttonText;
}
QColor LookAndFeelPalette::buttonFace()
{
    return Current().buttonFace;
}
QColor LookAndFeelPalette::buttonHotText()
{
    return Current().buttonHotText;
}
QColor LookAndFeelPalette::buttonHotFace()
{
    return Current().buttonHotFace;
}
QColor LookAndFeelPalette::buttonDisabledText()
{
    return Current().buttonDisabledText;
}
QColor LookAndFeelPalette::buttonDisabledFace()
{
    return Current().buttonDisabledFace;
}
QColor LookAndFeelPalette::gridBackground()
{
    return Current().gridBackground;
}
QColor LookAndFeelPalette::gridText()
{
    return Current().gridText;
}

void LookAndFeelPalette::SetPaneBackground(const QColor& c)
{
    Current().paneBackground = c;
}
void LookAndFeelPalette::SetPaneText(const QColor& c)
{
    Current().paneText = c;
}
void LookAndFeelPalette::SetTabNormalText(const QColor& c)
{
    Current().tabNormalText = c;
}
void LookAndFeelPalette::SetTabNormalBackground(const QColor& c)
{
    Current().tabNormalBackground = c;
}
void LookAndFeelPalette::SetTabSelectedText(const QColor& c)
{
    Current().tabSelectedText = c;
}
void LookAndFeelPalette::SetTabSelectedBackground(const QColor& c)
{
    Current().tabSelectedBackground = c;
}
void LookAndFeelPalette::SetTabHotText(const QColor& c)
{
    Current().tabHotText = c;
}
void LookAndFeelPalette::SetTabHotBackground(const QColor& c)
{
    Current().tabHotBackground = c;
}
void LookAndFeelPalette::SetButtonFace(const QColor& c)
{
    Current().buttonFace = c;
}

void LookAndFeelPalette::ResetToStartValues()
{
    Current() = Palette();
}

void ApplyLookAndFeelScheme(int scheme)
{
    struct Scheme {
        QColor pane, paneText, tabText, tabHotText;
    };
    static const Scheme schemes[] = {
        {{0, 0, 102}, {255, 102, 0}, {255, 255, 255}, {255, 102, 0}},
        {{255, 0, 0}, {0, 0, 255}, {255, 255, 255}, {0, 0, 255}},
        {{128, 128, 128}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}},
        {{102, 153, 51}, {255, 102, 0}, {255, 102, 0}, {255, 255, 255}},
    };
    if (scheme < 0 || scheme > 3)
        return;
    const Scheme& s = schemes[scheme];
    LookAndFeelPalette::SetPaneBackground(s.pane);
    LookAndFeelPalette::SetPaneText(s.paneText);
    LookAndFeelPalette::SetTabNormalBackground(s.pane);
    LookAndFeelPalette::SetTabSelectedBackground(s.pane);
    LookAndFeelPalette::SetTabHotBackground(s.pane);
    LookAndFeelPalette::SetTabNormalText(s.tabText);
    LookAndFeelPalette::SetTabSelectedText(s.tabText);
    LookAndFeelPalette::SetTabHotText(s.tabHotText);
    if (scheme == 3)
        LookAndFeelPalette::SetButtonFace({255, 102, 0});
}
