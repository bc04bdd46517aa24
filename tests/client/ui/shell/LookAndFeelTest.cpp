#include "client/ui/shell/BaseDlgPane.h"
#include "client/ui/shell/ColorButton.h"
#include "client/ui/shell/LookAndFeelEvent.h"
#include "client/ui/shell/LookAndFeelPalette.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

class PaletteFixture : public testing::Test {
protected:
    void SetUp() override { LookAndFeelPalette::ResetToStartValues(); }
    void TearDown() override { LookAndFeelPalette::ResetToStartValues(); }
};

using SchemeTest = PaletteFixture;

struct SchemeColors {
    int scheme;
    QColor pane, paneText, tabBackground, tabText, tabHotText, buttonFace;
};

TEST_F(SchemeTest, EachSchemeSetsItsColoursAndLeavesTheRest)
{
    const SchemeColors cases[] = {
        {0, {0, 0, 102}, {255, 102, 0}, {0, 0, 102}, {255, 255, 255}, {255, 102, 0}, {64, 64, 64}},
        {1, {255, 0, 0}, {0, 0, 255}, {255, 0, 0}, {255, 255, 255}, {0, 0, 255}, {64, 64, 64}},
        {2, {128, 128, 128}, {0, 0, 0}, {128, 128, 128}, {0, 0, 0}, {255, 255, 255}, {64, 64, 64}},
        {3, {102, 153, 51}, {255, 102, 0}, {102, 153, 51}, {255, 102, 0}, {255, 255, 255}, {255, 102, 0}},
        // No such scheme: the start values stay.
        {7, {128, 128, 128}, {0, 0, 0}, {128, 128, 128}, {255, 255, 255}, {255, 102, 0}, {64, 64, 64}},
    };
    for (const SchemeColors& c : cases) {
        SCOPED_TRACE(c.scheme);
        LookAndFeelPalette::ResetToStartValues();
        ApplyLookAndFeelScheme(c.scheme);
        EXPECT_EQ(LookAndFeelPalette::paneBackground(), c.pane);
        EXPECT_EQ(LookAndFeelPalette::paneText(), c.paneText);
        EXPECT_EQ(LookAndFeelPalette::tabNormalBackground(), c.tabBackground);
        EXPECT_EQ(LookAndFeelPalette::tabSelectedBackground(), c.tabBackground);
        EXPECT_EQ(LookAndFeelPalette::tabHotBackground(), c.tabBackground);
        EXPECT_EQ(LookAndFeelPalette::tabNormalText(), c.tabText);
        EXPECT_EQ(LookAndFeelPalette::tabSelectedText(), c.tabText);
        EXPECT_EQ(LookAndFeelPalette::tabHotText(), c.tabHotText);
        EXPECT_EQ(LookAndFeelPalette::buttonFace(), c.buttonFace);
        // Never touched by a scheme.
        EXPECT_EQ(LookAndFeelPalette::tabStripBackground(), QColor(128, 128, 128));
        EXPECT_EQ(LookAndFeelPalette::buttonText(), QColor(255, 255, 255));
        EXPECT_EQ(LookAndFeelPalette::gridBackground(), QColor(192, 192, 192));
    }
}

class LabelPane : public CBaseDlgPane {
public:
    LabelPane() : CBaseDlgPane(1000) {}
    QLabel* label = nullptr;
    QLineEdit* readOnly = nullptr;
    CColorButton* button = nullptr;
    int okCount = 0, cancelCount = 0;

protected:
    void OnInitDialog() override
    {
        auto* layout = new QVBoxLayout(this);
        label = new QLabel(QStringLiteral("Label"), this);
        readOnly = new QLineEdit(this);
        readOnly->setReadOnly(true);
        button = new CColorButton(QStringLiteral("Go"), this);
        layout->addWidget(label);
        layout->addWidget(readOnly);
        layout->addWidget(button);
    }
    void OnOK() override { ++okCount; }
    void OnCancel() override { ++cancelCount; }
};

QColor PixelAt(QWidget* widget, QPoint point)
{
    return widget->grab().toImage().pixelColor(point);
}

using PaneTest = PaletteFixture;

TEST_F(PaneTest, BroadcastRecoloursPanesUnderTheRootOnly)
{
    QWidget root;
    root.resize(200, 200);
    LabelPane inside;
    inside.CreateAndShow(&root, 100);
    inside.resize(150, 150);
    LabelPane outside;
    outside.CreateAndShow(nullptr, 101);
    outside.resize(150, 150);
    root.show();

    EXPECT_EQ(PixelAt(&inside, {1, 1}), QColor(128, 128, 128));
    ApplyLookAndFeelScheme(0);
    BroadcastLookAndFeel(&root);

    EXPECT_EQ(PixelAt(&inside, {1, 1}), QColor(0, 0, 102));
    EXPECT_EQ(inside.label->palette().color(QPalette::WindowText), QColor(255, 102, 0));
    EXPECT_EQ(inside.readOnly->palette().color(QPalette::Base), QColor(0, 0, 102));
    // The button keeps the colours it copied; the pane outside keeps grey.
    EXPECT_EQ(inside.button->CurrentColors().second, QColor(64, 64, 64));
    EXPECT_EQ(PixelAt(&outside, {1, 1}), QColor(128, 128, 128));
}

TEST_F(PaneTest, EnterAndEscapeCloseNeitherPaneNorDialog)
{
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* pane = new LabelPane;
    pane->CreateAndShow(&dialog, 100);
    layout->addWidget(pane);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    auto* edit = new QLineEdit(pane);
    edit->show();
    edit->setFocus();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        SCOPED_TRACE(key);
        QTest::keyClick(edit, key);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(pane->isVisible());
    }
    EXPECT_EQ(pane->okCount, 2);
    EXPECT_EQ(pane->cancelCount, 1);
    EXPECT_EQ(dialog.result(), 0);
}

TEST_F(PaneTest, CreateKeepsThePaneHiddenAndNumbered)
{
    QWidget parent;
    LabelPane pane;
    pane.Create(&parent, 42);
    parent.show();
    EXPECT_FALSE(pane.isVisible());
    EXPECT_EQ(pane.parentWidget(), &parent);
    EXPECT_EQ(pane.objectName(), QStringLiteral("id_42"));
    EXPECT_NE(pane.label, nullptr);
}

}  // namespace
