#include "client/resources/ResourceIds.h"
#include "client/ui/shell/BaseDlgPane.h"
#include "client/ui/shell/CommandMenu.h"
#include "client/ui/shell/ControlId.h"
#include "client/ui/shell/TabView.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A pane that handles one command and records what ran.
class CommandPane : public CBaseDlgPane {
public:
    CommandPane(unsigned handled, bool enabled) : CBaseDlgPane(1000), m_handled(handled), m_enabled(enabled) {}
    bool OnCmdMsg(unsigned id, CCommandUpdate* update) override
    {
        if (id != m_handled)
            return CBaseDlgPane::OnCmdMsg(id, update);
        if (update)
            update->Enable(m_enabled);
        else
            ran.push_back("pane " + std::to_string(id));
        return true;
    }
    std::vector<std::string> ran;

private:
    unsigned m_handled;
    bool m_enabled;
};

class TestView : public CTabView {
public:
    explicit TestView(CBaseDlgPane* pane) : CTabView(QStringLiteral("testview"))
    {
        pane->CreateAndShow(this, IDC_TAB_PANE);
        SetPane(pane);
    }
    QString GetTitle() const override { return QStringLiteral("Test"); }
    std::vector<std::string> ran;

protected:
    bool OnViewCmdMsg(unsigned id, CCommandUpdate* update) override
    {
        if (id != ID_VIEW_REFRESH && id != ID_VIEW_TAB_FIRST)
            return false;
        if (update)
            update->SetCheck(id == ID_VIEW_TAB_FIRST);
        else
            ran.push_back("view " + std::to_string(id));
        return true;
    }
};

TEST(RoutingTest, PaneFirstThenViewThenNobody)
{
    auto* pane = new CommandPane(ID_VIEW_REFRESH, true);
    TestView view(pane);

    EXPECT_TRUE(RunCommand(view, ID_VIEW_REFRESH));  // both handle it: the pane wins
    EXPECT_TRUE(RunCommand(view, ID_VIEW_TAB_FIRST));
    EXPECT_FALSE(RunCommand(view, ID_FILE_EXPORT_PLAYLIST));
    EXPECT_EQ(pane->ran, std::vector<std::string>{"pane 32834"});
    EXPECT_EQ(view.ran, std::vector<std::string>{"view 32788"});

    EXPECT_TRUE(QueryCommand(view, ID_VIEW_REFRESH).Enabled());
    EXPECT_TRUE(QueryCommand(view, ID_VIEW_TAB_FIRST).Checked());
    EXPECT_FALSE(QueryCommand(view, ID_FILE_EXPORT_PLAYLIST).Enabled());
}

TEST(RoutingTest, DisabledCommandDoesNotRun)
{
    auto* pane = new CommandPane(ID_VIEW_REFRESH, false);
    TestView view(pane);
    EXPECT_FALSE(RunCommand(view, ID_VIEW_REFRESH));
    EXPECT_TRUE(pane->ran.empty());
}

TEST(RoutingTest, MenusShowTheEnableQueries)
{
    auto* pane = new CommandPane(ID_VIEW_BACK, false);
    TestView view(pane);
    QMenuBar bar;
    FillMenuBar(&bar, IDR_MAINFRAME);
    QMenu* viewMenu = FindPopup(&bar, QStringLiteral("&View"));
    ASSERT_NE(viewMenu, nullptr);
    UpdateMenuCommands(viewMenu, view);

    struct Case {
        unsigned id;
        bool enabled, checked;
    };
    const Case cases[] = {
        {ID_VIEW_REFRESH, true, false},   // the view handles it
        {ID_VIEW_BACK, false, false},     // the pane handles it and disables it
        {ID_VIEW_FORWARD, false, false},  // nobody handles it
        {ID_VIEW_TAB_FIRST, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        QAction* action = FindCommandAction(viewMenu, c.id);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->isEnabled(), c.enabled);
        EXPECT_EQ(action->isChecked(), c.checked);
    }
    EXPECT_EQ(FindCommandAction(&bar, ID_FILE_LOGIN)->statusTip(), QStringLiteral("Log in to the Corvanta server"));
    EXPECT_EQ(FindCommandAction(&bar, ID_APP_EXIT)->text(), QStringLiteral("E&xit"));
}

TEST(RoutingTest, ContextMenuFromResource)
{
    QWidget owner;
    QMenu* menu = LoadPopupMenu(IDR_MENU_MY_PLAYLISTS, &owner);
    ASSERT_NE(menu, nullptr);
    std::vector<unsigned> ids;
    for (QAction* action : menu->actions())
        ids.push_back(CommandId(action));
    EXPECT_EQ(ids, (std::vector<unsigned>{ID_ITEM_EDIT, ID_ITEM_PLAY, 0, ID_PLAYLIST_DELETE}));
    EXPECT_EQ(LoadPopupMenu(1, &owner), nullptr);
}

TEST(ControlIdTest, FindsDirectChildrenBeforeDeeperOnes)
{
    QWidget root;
    auto* deep = new QWidget(new QWidget(&root));
    SetControlId(deep, 100);
    auto* direct = new QWidget(&root);
    SetControlId(direct, 100);
    auto* named = new QWidget(&root);
    named->setObjectName(QStringLiteral("homeview"));
    SetControlId(named, 98);

    EXPECT_EQ(FindControl(&root, 100), direct);
    EXPECT_EQ(FindControl(deep->parentWidget(), 100), deep);
    EXPECT_EQ(FindControl(&root, 98), named);
    EXPECT_EQ(named->objectName(), QStringLiteral("homeview"));  // a window name stays
    EXPECT_EQ(direct->objectName(), QStringLiteral("id_100"));
    EXPECT_EQ(FindControl(&root, 5), nullptr);
    EXPECT_EQ(ControlId(direct), 100);
}

}  // namespace
