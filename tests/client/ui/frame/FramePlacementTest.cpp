#include "client/ui/frame/FramePlacement.h"

#include <gtest/gtest.h>

namespace {

TEST(FramePlacementTest, DefaultAndSavedPlacements)
{
    struct Case {
        const char* name;
        int x, y, cx, cy;
        QSize workArea;
        QRect expected;
    };
    const Case cases[] = {
        // 985 x 716 capped at 9 and 7 inches.
        {"1024x768", 0, 0, 0, 0, {1024, 768}, {80, 48, 864, 672}},
        {"640x480", 0, 0, 0, 0, {640, 480}, {12, 16, 616, 448}},
        {"width 0 discards all four", 30, 40, 0, 500, {1024, 768}, {80, 48, 864, 672}},
        {"height 0 discards all four", 30, 40, 500, 0, {640, 480}, {12, 16, 616, 448}},
        {"saved values unchanged", -20, 40, 500, 300, {1024, 768}, {-20, 40, 500, 300}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ChooseFrameRect(c.x, c.y, c.cx, c.cy, c.workArea, 96, 96), c.expected);
    }
    // A rectangle left on a screen that is gone falls back to the default;
    // one that still shows a corner on some screen stays.
    const QList<QRect> screens = {{0, 0, 1024, 768}, {1024, 0, 800, 600}};
    EXPECT_EQ(ChooseFrameRect(3000, 40, 500, 300, {1024, 768}, 96, 96, screens), QRect(80, 48, 864, 672));
    EXPECT_EQ(ChooseFrameRect(1700, -250, 500, 300, {1024, 768}, 96, 96, screens), QRect(1700, -250, 500, 300));
    EXPECT_EQ(ChooseFrameRect(-600, 0, 500, 300, {1024, 768}, 96, 96, screens), QRect(80, 48, 864, 672));

    EXPECT_EQ(ChooseHomeWidth(0, 96), 528);
    EXPECT_EQ(ChooseHomeWidth(0, 120), 660);
    EXPECT_EQ(ChooseHomeWidth(300, 96), 300);
}

}  // namespace
