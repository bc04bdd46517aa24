#include "client/ui/web/HoverBitmapButton.h"

#include "client/resources/ResourceIds.h"
#include "client/resources/images/ResourceImages.h"

#include <QApplication>
#include <QEnterEvent>

#include <gtest/gtest.h>

namespace {

void Enter(CHoverBitmapButton& button, QPoint at)
{
    QEnterEvent event(at, button.mapToGlobal(at), button.mapToGlobal(at));
    QApplication::sendEvent(&button, &event);
}

void Leave(CHoverBitmapButton& button)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(&button, &event);
}

struct PictureCase {
    const char* name;
    unsigned normal, pressed, hover, hoverPressed, disabled;
    bool enabled, drawnDisabled, hovering, down;
    unsigned expected;  // 0: no picture
};

// Five distinct pictures stand for the five states.
constexpr unsigned N = IDB_BACK, P = IDB_BACK_PRESSED, H = IDB_BACK_HOVER, HP = IDB_STOP_PRESSED, D = IDB_STOP;

TEST(HoverBitmapButtonTest, PictureForEachState)
{
    const unsigned pictures[] = {N, P, H, HP, D};
    for (unsigned a : pictures)
        for (unsigned b : pictures)
            ASSERT_EQ(a == b, LoadBitmapResource(a).toImage() == LoadBitmapResource(b).toImage()) << a << " " << b;
    const PictureCase cases[] = {
        {"normal", N, P, H, HP, D, true, false, false, false, N},
        {"pressed", N, P, H, HP, D, true, false, false, true, P},
        {"hover", N, P, H, HP, D, true, false, true, false, H},
        {"hover pressed", N, P, H, HP, D, true, false, true, true, HP},
        {"hover pressed without its picture", N, P, H, 0, D, true, false, true, true, H},
        {"hover without its picture", N, P, 0, 0, D, true, false, true, false, N},
        {"disabled window", N, P, H, HP, D, false, false, true, false, D},
        {"drawn as disabled", N, P, H, HP, D, true, true, true, true, D},
        {"disabled without its picture", N, P, H, HP, 0, false, false, false, false, N},
        {"pressed without its picture", N, 0, H, HP, D, true, false, false, true, N},
        {"no pictures", 0, 0, 0, 0, 0, true, false, false, false, 0},
    };
    for (const PictureCase& c : cases) {
        SCOPED_TRACE(c.name);
        CHoverBitmapButton button(IDC_DETAIL_BACK);
        button.SetBitmaps(c.normal, c.pressed, c.hover, c.hoverPressed, c.disabled);
        button.resize(24, 22);
        button.setEnabled(c.enabled);
        button.SetDrawnDisabled(c.drawnDisabled);
        if (c.hovering)
            Enter(button, QPoint(2, 2));
        button.setDown(c.down);
        const QPixmap drawn = button.CurrentPixmap();
        if (c.expected == 0) {
            EXPECT_TRUE(drawn.isNull());
            continue;
        }
        ASSERT_FALSE(drawn.isNull());
        EXPECT_EQ(drawn.toImage(), LoadBitmapResource(c.expected).toImage());
    }
}

TEST(HoverBitmapButtonTest, HoverFollowsTheMouseInsideTheHitRegion)
{
    CHoverBitmapButton button(IDC_DETAIL_BACK);
    button.SetBitmaps(N, P, H, HP, D);
    button.resize(24, 22);
    Enter(button, QPoint(3, 3));
    EXPECT_TRUE(button.Hovering());
    Leave(button);
    EXPECT_FALSE(button.Hovering());

    button.SetHitRegion(QRegion(0, 0, 10, 10));
    Enter(button, QPoint(15, 15));
    EXPECT_FALSE(button.Hovering());
    Enter(button, QPoint(5, 5));
    EXPECT_TRUE(button.Hovering());
    QMouseEvent outside(QEvent::MouseMove, QPointF(15, 15), button.mapToGlobal(QPointF(15, 15)), Qt::NoButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&button, &outside);
    EXPECT_FALSE(button.Hovering());
}

}  // namespace
