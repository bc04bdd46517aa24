#include "client/resources/ResourceIds.h"
#include "client/resources/images/ResourceImages.h"
#include "client/ui/shell/AnimationCtrl.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(ResourcePicturesTest, EveryNamedPictureLoads)
{
    for (unsigned id : {IDB_ARTIST, IDB_PLAYLIST, IDB_PERFORMANCE, IDB_PLAYMAKER, IDB_SPLASH}) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(LoadBitmapResource(id).isNull());
    }
    for (unsigned id = IDB_BACK_PRESSED; id <= IDB_STOP; ++id) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(LoadBitmapResource(id).isNull());
    }
    EXPECT_FALSE(LoadIconResource(IDI_MAINFRAME).isNull());
    EXPECT_TRUE(LoadBitmapResource(1).isNull());
}

TEST(ResourcePicturesTest, AnimationLoopsWhilePlaying)
{
    CAnimationCtrl animation;
    ASSERT_TRUE(animation.Open(IDR_ANIMATION));
    ASSERT_GT(animation.FrameCount(), 1);
    animation.show();
    animation.Play(std::chrono::milliseconds(1));
    // Round the loop at least once: back at frame 0 after the last.
    bool sawLast = false;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            sawLast = sawLast || animation.CurrentFrame() == animation.FrameCount() - 1;
            return sawLast && animation.CurrentFrame() == 0;
        },
        5000));
    animation.Stop();
    EXPECT_FALSE(animation.IsPlaying());
    EXPECT_FALSE(CAnimationCtrl().Open(1));
}

}  // namespace
