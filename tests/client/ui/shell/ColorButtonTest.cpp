#include "client/ui/shell/ColorButton.h"
#include "client/ui/shell/LookAndFeelPalette.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class ColorButtonTest : public testing::Test {
protected:
    void SetUp() override
    {
        LookAndFeelPalette::ResetToStartValues();
        button = std::make_unique<CColorButton>(QStringLiteral("Search"));
        button->resize(80, 24);
        button->SetNormalColors(Qt::white, QColor(1, 1, 1));
        button->SetPressedColors(Qt::white, QColor(2, 2, 2));
        button->SetHotColors(Qt::white, QColor(3, 3, 3));
        button->SetHotPressedColors(Qt::white, QColor(4, 4, 4));
        button->SetDisabledColors(Qt::white, QColor(5, 5, 5));
        button->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(button.get()));
    }
    void TearDown() override { LookAndFeelPalette::ResetToStartValues(); }

    void Hover(bool in)
    {
        QEvent leave(QEvent::Leave);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(button.get(), in ? static_cast<QEvent*>(&enter) : &leave);
    }
    int Face() { return button->grab().toImage().pixelColor(2, 2).red(); }

    std::unique_ptr<CColorButton> button;
};

TEST_F(ColorButtonTest, DrawsThePairOfItsState)
{
    struct Case {
        bool hot, latched, enabled;
        int face;
    };
    const Case cases[] = {
        {false, false, true, 1}, {false, true, true, 2},  {true, false, true, 3},
        {true, true, true, 4},   {true, false, false, 5}, {false, true, false, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.hot << c.latched << c.enabled);
        Hover(c.hot);
        button->SetLatched(c.latched);
        button->setEnabled(c.enabled);
        EXPECT_EQ(button->IsHot(), c.hot);
        EXPECT_EQ(Face(), c.face);
    }
}

TEST_F(ColorButtonTest, LeavingClearsHotAndBeingPressedDrawsPressed)
{
    Hover(true);
    EXPECT_EQ(Face(), 3);
    Hover(false);
    EXPECT_FALSE(button->IsHot());
    EXPECT_EQ(Face(), 1);
    button->setDown(true);
    EXPECT_EQ(Face(), 2);
}

TEST_F(ColorButtonTest, IgnoredPressIsSwallowedOnce)
{
    QSignalSpy clicked(button.get(), &QPushButton::clicked);
    button->SetIgnoreNextPress(true);
    QTest::mouseClick(button.get(), Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_FALSE(button->IgnoresNextPress());
    QTest::mouseClick(button.get(), Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(ColorButtonTest, SchemeReachesOnlyButtonsMadeAfterIt)
{
    CColorButton before;
    ApplyLookAndFeelScheme(3);
    CColorButton after;
    EXPECT_EQ(before.CurrentColors().second, QColor(64, 64, 64));
    EXPECT_EQ(after.CurrentColors().second, QColor(255, 102, 0));
    EXPECT_EQ(after.CurrentColors().first, QColor(255, 255, 255));
}

}  // namespace
