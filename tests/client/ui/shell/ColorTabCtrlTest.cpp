#include "client/ui/shell/ColorTabCtrl.h"
#include "client/ui/shell/TabStripListener.h"

#include <QFontMetrics>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

struct RecordingListener : ITabStripListener {
    void OnTabClicked(int controlId, int index) override { clicks.emplace_back(controlId, index); }
    std::vector<std::pair<int, int>> clicks;
};

const QColor kNormalText(250, 0, 0), kNormalBack(10, 10, 10), kSelectedText(0, 250, 0), kSelectedBack(20, 20, 20),
    kHotText(0, 0, 250), kHotBack(30, 30, 30), kStrip(40, 40, 40);

class ColorTabCtrlTest : public testing::Test {
protected:
    void SetUp() override
    {
        parent.resize(400, 200);
        below = new QWidget(&parent);
        below->setGeometry(0, 26, 400, 174);
        strip = new CColorTabCtrl;
        strip->Create(QRect(0, 0, 400, 200), &parent, 77);
        strip->AddListener(&first);
        strip->AddListener(&second);
        strip->SetNormalTextColor(kNormalText);
        strip->SetNormalBackgroundColor(kNormalBack);
        strip->SetSelectedTextColor(kSelectedText);
        strip->SetSelectedBackgroundColor(kSelectedBack);
        strip->SetHotTextColor(kHotText);
        strip->SetHotBackgroundColor(kHotBack);
        strip->SetStripBackgroundColor(kStrip);
        for (const char* title : {"Home", "Create", "Search"})
            strip->AddTab(strip->GetItemCount(), QString::fromLatin1(title));
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    }

    QImage Picture() { return strip->grab().toImage(); }
    QPoint Inside(int tab) { return strip->GetItemRect(tab).center(); }

    QWidget parent;
    QWidget* below = nullptr;
    CColorTabCtrl* strip = nullptr;
    RecordingListener first, second;
};

TEST_F(ColorTabCtrlTest, TabsSitSideBySideSizedByTheirTitles)
{
    QFont font(QStringLiteral("Verdana"));
    font.setPointSize(10);
    font.setWeight(QFont::Bold);
    const QFontMetrics metrics(font);
    int x = 0;
    for (int i = 0; i < strip->GetItemCount(); ++i) {
        SCOPED_TRACE(i);
        const QRect r = strip->GetItemRect(i);
        EXPECT_EQ(r.left(), x);
        EXPECT_EQ(r.top(), 0);
        EXPECT_EQ(r.height(), 25);
        EXPECT_EQ(r.width(), metrics.horizontalAdvance(strip->GetItemTitle(i) + QStringLiteral("WW")) + 10);
        x = r.right() + 1;
    }
    // Inserting in the middle moves the later tabs; past the end grows the list.
    strip->AddTab(1, QStringLiteral("New"));
    EXPECT_EQ(strip->GetItemTitle(1), QStringLiteral("New"));
    EXPECT_EQ(strip->GetItemTitle(2), QStringLiteral("Create"));
    EXPECT_EQ(strip->GetItemRect(2).left(), strip->GetItemRect(1).right() + 1);
    EXPECT_EQ(strip->AddTab(7, QStringLiteral("Far")), 1);
    EXPECT_EQ(strip->GetItemCount(), 8);
    EXPECT_EQ(strip->GetItemTitle(7), QStringLiteral("Far"));

    EXPECT_EQ(CColorTabCtrl::AdjustRect(false, QRect(0, 0, 100, 100)), QRect(0, 26, 100, 74));
    EXPECT_EQ(CColorTabCtrl::AdjustRect(true, QRect(0, 0, 100, 100)), QRect(0, 0, 100, 126));
}

TEST_F(ColorTabCtrlTest, PaintsSelectedNormalAndHotTabs)
{
    QImage image = Picture();
    const QRect selected = strip->GetItemRect(0);
    const QRect normal = strip->GetItemRect(1);
    // Backgrounds, the band right of the tabs, and nothing painted below it.
    EXPECT_EQ(image.pixelColor(selected.left() + 3, 3), kSelectedBack);
    EXPECT_EQ(image.pixelColor(normal.left() + 3, 3), kNormalBack);
    EXPECT_EQ(image.pixelColor(390, 10), kStrip);
    EXPECT_EQ(image.pixelColor(390, 25), QColor(Qt::black));  // the baseline
    // The selected tab is open at the bottom; a normal tab is closed by a line.
    EXPECT_EQ(image.pixelColor(selected.left(), 10), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(selected.left() + 3, 25), kSelectedBack);
    EXPECT_EQ(image.pixelColor(normal.left() + 3, 25), QColor(Qt::black));

    QTest::mouseMove(strip, Inside(0));
    EXPECT_EQ(strip->GetHotTab(), 0);
    image = Picture();
    // Hot and selected paints as hot, keeping the selected outline.
    EXPECT_EQ(image.pixelColor(selected.left() + 3, 3), kHotBack);
    EXPECT_EQ(image.pixelColor(selected.left() + 3, 25), kHotBack);
    QTest::mouseMove(strip, Inside(1));
    EXPECT_EQ(strip->GetHotTab(), 1);
    image = Picture();
    EXPECT_EQ(image.pixelColor(normal.left() + 3, 3), kHotBack);
    EXPECT_EQ(image.pixelColor(normal.left() + 3, 25), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(selected.left() + 3, 3), kSelectedBack);
}

TEST_F(ColorTabCtrlTest, HotTabClearsPastTheLastTabAndBelowTheBand)
{
    QTest::mouseMove(strip, Inside(2));
    EXPECT_EQ(strip->GetHotTab(), 2);
    QTest::mouseMove(strip, QPoint(strip->GetItemRect(2).right() + 20, 10));
    EXPECT_EQ(strip->GetHotTab(), -1);
    QTest::mouseMove(strip, Inside(1));
    EXPECT_EQ(strip->GetHotTab(), 1);
    QTest::mouseMove(&parent, QPoint(Inside(1).x(), 60));
    EXPECT_EQ(strip->GetHotTab(), -1);
    // Below the band the mouse belongs to the window underneath.
    EXPECT_EQ(parent.childAt(QPoint(10, 60)), below);
    EXPECT_EQ(parent.childAt(QPoint(10, 10)), strip);
}

TEST_F(ColorTabCtrlTest, EveryClickTellsEveryListenerAlsoOnTheSelectedTab)
{
    QTest::mouseClick(strip, Qt::LeftButton, {}, Inside(1));
    QTest::mouseClick(strip, Qt::LeftButton, {}, Inside(1));
    QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(390, 10));  // no tab there
    const std::vector<std::pair<int, int>> expected = {{77, 1}, {77, 1}};
    EXPECT_EQ(first.clicks, expected);
    EXPECT_EQ(second.clicks, expected);
    EXPECT_EQ(strip->GetCurSel(), 1);

    EXPECT_EQ(strip->SetCurSel(2), 1);
    EXPECT_EQ(strip->GetCurSel(), 2);
    EXPECT_EQ(first.clicks.size(), 2u);  // SetCurSel tells nobody
}

}  // namespace
