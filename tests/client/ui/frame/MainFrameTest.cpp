#include "client/app/Preferences.h"
#include "client/app/Session.h"
#include "client/resources/ResourceIds.h"
#include "client/ui/frame/ChildView.h"
#include "client/ui/frame/LoginStatusBar.h"
#include "client/ui/frame/MainFrame.h"
#include "client/ui/shell/BaseDlgPane.h"
#include "client/ui/shell/ColorTabCtrl.h"
#include "client/ui/shell/CommandMenu.h"
#include "client/ui/shell/ControlId.h"
#include "client/ui/shell/LookAndFeelPalette.h"
#include "client/ui/shell/TabView.h"
#include "client/ui/web/DetailViewer.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ScopedTestFolders.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

// The application's end of the chain: the session commands and a record of
// what reached it.
class AppTarget : public ICommandTarget {
public:
    explicit AppTarget(CSession& session) : m_session(session) {}
    bool OnCmdMsg(unsigned id, CCommandUpdate* update) override
    {
        if (id != ID_FILE_LOGIN && id != ID_FILE_LOGOUT && id != ID_VIEW_REFRESH && id != ID_HELP && id != ID_EDIT_UNDO)
            return false;
        if (update && id == ID_EDIT_UNDO)
            update->Enable(false);
        else if (update && (id == ID_FILE_LOGIN || id == ID_FILE_LOGOUT))
            update->Enable(m_session.Token().empty() == (id == ID_FILE_LOGIN));
        else if (!update)
            ran.push_back(id);
        return true;
    }
    std::vector<unsigned> ran;

private:
    CSession& m_session;
};

class FramePane : public CBaseDlgPane {
public:
    FramePane() : CBaseDlgPane(1000) {}
};

class MainFrameTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_session.ServerSettings().SetServerHost(CLoopbackHttpServer::kHost);
        m_session.ServerSettings().SetPortOverride(m_server.Port(), m_server.Port());
        SetActiveServerSettings(&m_session.ServerSettings());
        LookAndFeelPalette::ResetToStartValues();
    }
    void TearDown() override
    {
        m_frame.reset();
        SetActiveServerSettings(nullptr);
        LookAndFeelPalette::ResetToStartValues();
    }

    CMainFrame& MakeFrame()
    {
        m_frame = std::make_unique<CMainFrame>(m_session, PaneServices{}, &m_app);
        return *m_frame;
    }
    CMainFrame& ShowFrame()
    {
        MakeFrame().show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_frame.get()));
        return *m_frame;
    }
    bool Enabled(unsigned id) { return QueryCommand(*m_frame, id).Enabled(); }
    QMenu* Menu(const char* title) { return FindPopup(m_frame->menuBar(), QString::fromLatin1(title)); }
    static DWORD Number(const char* name) { return CPreferences().GetNumber(name, 12345); }

    CScopedTestFolders m_folders;  // a private registry, removed with the test
    const std::string m_temp = m_folders.RootText();
    CLoopbackHttpServer m_server;
    CSession m_session;
    AppTarget m_app{m_session};
    std::unique_ptr<CMainFrame> m_frame;
};

TEST_F(MainFrameTest, FirstStartUsesTheDefaultPlacementAndLeftColumn)
{
    CMainFrame& frame = ShowFrame();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize work = screen->availableGeometry().size();
    const int dpi = static_cast<int>(screen->logicalDotsPerInchX());
    const int width = std::min(work.width() * 77 / 80, 9 * dpi);
    const int height = std::min(work.height() * 56 / 60, 7 * dpi);
    EXPECT_EQ(frame.geometry(), QRect((work.width() - width) / 2, (work.height() - height) / 2, width, height));
    EXPECT_EQ(frame.GetChildView()->width(), static_cast<int>(5.5 * dpi));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Corvanta"));
    EXPECT_FALSE(frame.windowIcon().isNull());
    EXPECT_EQ(frame.GetStatusBar()->PaneText(0), QStringLiteral("For Help, press F1"));
    EXPECT_EQ(frame.GetStatusBar()->PaneText(1), QStringLiteral("Not logged in."));
}

TEST_F(MainFrameTest, ClosingWritesThePlacementOnceAndTheNextStartRestoresIt)
{
    {
        CMainFrame& frame = ShowFrame();
        frame.setGeometry(QRect(30, 40, 700, 500));
        frame.Splitter()->setSizes({300, 400});
        frame.close();
    }
    EXPECT_EQ(Number(Pref::MainX), 30u);
    EXPECT_EQ(Number(Pref::MainY), 40u);
    EXPECT_EQ(Number(Pref::MainCX), 700u);
    EXPECT_EQ(Number(Pref::MainCY), 500u);
    EXPECT_EQ(Number(Pref::Maximize), 0u);
    EXPECT_EQ(Number(Pref::HomeWidth), 300u);
    CPreferences().SetNumber(Pref::MainX, 99);
    m_frame.reset();  // already written at close: deleting writes nothing
    EXPECT_EQ(Number(Pref::MainX), 99u);

    CPreferences().SetNumber(Pref::MainX, 30);
    CMainFrame& again = ShowFrame();
    EXPECT_EQ(again.geometry(), QRect(30, 40, 700, 500));
    EXPECT_EQ(again.GetChildView()->width(), 300);
}

TEST_F(MainFrameTest, ClosingMaximizedStoresTheRestoredRectangle)
{
    {
        CMainFrame& frame = ShowFrame();
        frame.setGeometry(QRect(20, 30, 500, 400));
        frame.showMaximized();
        ASSERT_TRUE(QTest::qWaitFor([&] { return frame.isMaximized(); }, 5000));
        m_frame.reset();
    }
    EXPECT_EQ(Number(Pref::Maximize), 1u);
    EXPECT_EQ(Number(Pref::MainCX), 500u);
    EXPECT_EQ(Number(Pref::MainCY), 400u);

    CMainFrame& again = MakeFrame();
    EXPECT_TRUE(again.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(again.normalGeometry().size(), QSize(500, 400));
}

TEST_F(MainFrameTest, ViewMenuNamesTheFourTabsAndChecksTheCurrentOne)
{
    CMainFrame& frame = ShowFrame();
    QMenu* view = Menu("&View");
    ASSERT_NE(view, nullptr);
    emit view->aboutToShow();
    std::vector<QString> tabs;
    for (QAction* action : view->actions()) {
        const unsigned id = CommandId(action);
        if (id >= ID_VIEW_TAB_FIRST && id <= ID_VIEW_TAB_LAST) {
            tabs.push_back(action->text());
            EXPECT_EQ(action->isChecked(), id == ID_VIEW_TAB_FIRST);
        }
    }
    EXPECT_EQ(tabs, (std::vector<QString>{"Home", "Create", "Search", "Favorites"}));

    // A View item selects the tab view and the strip's tab.
    EXPECT_TRUE(RunCommand(frame, ID_VIEW_TAB_FIRST + 2));
    EXPECT_EQ(frame.GetChildView()->CurrentIndex(), 2);
    EXPECT_EQ(frame.GetChildView()->TabStrip()->GetCurSel(), 2);
    EXPECT_TRUE(frame.GetChildView()->TabView(2)->isVisible());
    EXPECT_FALSE(frame.GetChildView()->TabView(0)->isVisible());
    emit view->aboutToShow();
    EXPECT_TRUE(FindCommandAction(view, ID_VIEW_TAB_FIRST + 2)->isChecked());
    EXPECT_FALSE(FindCommandAction(view, ID_VIEW_TAB_FIRST)->isChecked());
}

TEST_F(MainFrameTest, ServerOptionsStayOnlyForTheUnlockWordInAnyCase)
{
    struct Case {
        const char* value;  // nullptr: not stored
        bool kept;
    };
    const Case cases[] = {{"DOSTRAVE", true}, {"dostrave", true}, {"DoStRaVe", true}, {"dostrave ", false},
                          {"other", false},   {"", false},        {nullptr, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "(none)");
        if (c.value)
            CPreferences().SetString(Pref::AllowServerDialog, c.value);
        MakeFrame();
        EXPECT_EQ(FindCommandAction(m_frame->menuBar(), ID_TOOLS_SERVER_OPTIONS) != nullptr, c.kept);
        EXPECT_NE(FindCommandAction(m_frame->menuBar(), ID_TOOLS_OPTIONS), nullptr);
        m_frame.reset();
        std::filesystem::remove_all(m_temp + "/registry");
    }
}

TEST_F(MainFrameTest, EnableRulesFollowTheRoutingChain)
{
    CMainFrame& frame = ShowFrame();
    CChildView& child = *frame.GetChildView();
    // Handled by nobody: always disabled.
    for (unsigned id : {ID_FILE_EXPORT_PLAYLIST, ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE}) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(Enabled(id));
        EXPECT_FALSE(RunCommand(frame, id));
    }
    // The home pane's commands exist only while the Home tab is current.
    struct Case {
        int tab;
        bool enabled;
    };
    for (const Case& c : {Case{0, true}, Case{1, false}, Case{2, false}, Case{3, false}, Case{0, true}}) {
        SCOPED_TRACE(c.tab);
        child.SelectTab(c.tab);
        EXPECT_EQ(Enabled(ID_VIEW_BACK), c.enabled);
        EXPECT_EQ(Enabled(ID_VIEW_FORWARD), c.enabled);
    }
    // Refresh: the home pane first; off the Home tab it falls through to the
    // application, the last target.
    EXPECT_TRUE(RunCommand(frame, ID_VIEW_REFRESH));
    EXPECT_TRUE(m_app.ran.empty());
    child.SelectTab(1);
    EXPECT_TRUE(RunCommand(frame, ID_VIEW_REFRESH));
    EXPECT_EQ(m_app.ran, std::vector<unsigned>{ID_VIEW_REFRESH});
    // The detail viewer answers the browser commands on every tab.
    EXPECT_TRUE(Enabled(ID_BROWSER_BACK));

    // Log In and Log Out follow the session token.
    EXPECT_TRUE(Enabled(ID_FILE_LOGIN));
    EXPECT_FALSE(Enabled(ID_FILE_LOGOUT));
    m_session.AdoptSession("demo", 7, "token");
    EXPECT_FALSE(Enabled(ID_FILE_LOGIN));
    EXPECT_TRUE(Enabled(ID_FILE_LOGOUT));

    // The framework's own: the status bar item is checked while it shows.
    EXPECT_TRUE(QueryCommand(frame, ID_VIEW_STATUS_BAR).Checked());
    EXPECT_TRUE(RunCommand(frame, ID_VIEW_STATUS_BAR));
    EXPECT_TRUE(frame.GetStatusBar()->isHidden());
    EXPECT_FALSE(QueryCommand(frame, ID_VIEW_STATUS_BAR).Checked());
}

TEST_F(MainFrameTest, MenusAreUpdatedWhenTheyOpen)
{
    CMainFrame& frame = ShowFrame();
    QMenu* file = Menu("&File");
    ASSERT_NE(file, nullptr);
    emit file->aboutToShow();
    EXPECT_TRUE(FindCommandAction(file, ID_FILE_LOGIN)->isEnabled());
    EXPECT_FALSE(FindCommandAction(file, ID_FILE_LOGOUT)->isEnabled());
    EXPECT_FALSE(FindCommandAction(file, ID_FILE_EXPORT_PLAYLIST)->isEnabled());
    EXPECT_FALSE(FindCommandAction(file, ID_FILE_IMPORT_PLAYLIST)->isEnabled());
    EXPECT_TRUE(FindCommandAction(file, ID_APP_EXIT)->isEnabled());

    // Pane 0 shows the highlighted item's prompt, and the idle text afterwards.
    emit file->hovered(FindCommandAction(file, ID_FILE_LOGIN));
    EXPECT_EQ(frame.GetStatusBar()->PaneText(0), QStringLiteral("Log in to the Corvanta server"));
    emit file->hovered(FindCommandAction(file, ID_FILE_LOGOUT));
    EXPECT_EQ(frame.GetStatusBar()->PaneText(0), QString());
    emit file->aboutToHide();
    EXPECT_EQ(frame.GetStatusBar()->PaneText(0), QStringLiteral("For Help, press F1"));

    // A menu item runs through the same chain.
    emit file->triggered(FindCommandAction(file, ID_FILE_LOGIN));
    EXPECT_EQ(m_app.ran, std::vector<unsigned>{ID_FILE_LOGIN});
}

TEST_F(MainFrameTest, StatusBarShowsTheSessionAndTheLockKeys)
{
    m_session.AdoptSession("early", 1, "t1");  // told at once when the frame registers
    CMainFrame& frame = ShowFrame();
    CLoginStatusBar& bar = *frame.GetStatusBar();
    EXPECT_EQ(bar.PaneText(1), QStringLiteral("early logged in."));
    m_session.AdoptSession("demo", 7, "t2");
    EXPECT_EQ(bar.PaneText(1), QStringLiteral("demo logged in."));
    m_session.AdoptSession("", 0, "t3");
    EXPECT_EQ(bar.PaneText(1), QStringLiteral("Not logged in."));

    EXPECT_EQ(bar.PaneText(2), QString());
    // Real key presses arrive through the window.
    QTest::keyClick(frame.windowHandle(), Qt::Key_CapsLock);
    EXPECT_EQ(bar.PaneText(2), QStringLiteral("CAP"));
    QTest::keyClick(frame.windowHandle(), Qt::Key_NumLock);
    QTest::keyClick(frame.windowHandle(), Qt::Key_ScrollLock);
    EXPECT_EQ(bar.PaneText(3), QStringLiteral("NUM"));
    EXPECT_EQ(bar.PaneText(4), QStringLiteral("SCRL"));
    QTest::keyClick(frame.windowHandle(), Qt::Key_CapsLock);
    EXPECT_EQ(bar.PaneText(2), QString());

    // Once the frame has closed the status bar hears no more.
    frame.close();
    m_session.AdoptSession("later", 2, "t4");
    EXPECT_EQ(bar.PaneText(1), QStringLiteral("Not logged in."));
}

TEST_F(MainFrameTest, TabClicksSelectViewsAndSchemesReachOnlyTheChildView)
{
    CMainFrame& frame = ShowFrame();
    CChildView& child = *frame.GetChildView();
    CColorTabCtrl& strip = *child.TabStrip();
    EXPECT_EQ(FindControl(&child, IDC_TABSTRIP), &strip);
    EXPECT_EQ(FindControl(&child, IDC_SEARCH_VIEW), child.TabView(2));
    EXPECT_EQ(child.TabView(2)->objectName(), QStringLiteral("searchview"));

    QTest::mouseClick(&strip, Qt::LeftButton, {}, strip.GetItemRect(3).center());
    EXPECT_EQ(child.CurrentIndex(), 3);
    EXPECT_TRUE(child.TabView(3)->isVisible());
    EXPECT_EQ(child.TabView(3)->geometry().top(), 26);
    QTest::mouseClick(&strip, Qt::LeftButton, {}, strip.GetItemRect(3).center());
    EXPECT_EQ(child.CurrentIndex(), 3);

    auto* inside = new FramePane;
    inside->CreateAndShow(child.TabView(3), IDC_TAB_PANE);
    inside->resize(50, 50);
    auto* outside = new FramePane;
    outside->CreateAndShow(frame.GetDetailViewer(), 5000);
    outside->resize(50, 50);
    const QColor stripBefore = strip.grab().toImage().pixelColor(strip.GetItemRect(0).left() + 3, 3);

    EXPECT_TRUE(RunCommand(frame, ID_LOOK_AND_FEEL_SCHEME0));
    EXPECT_EQ(inside->grab().toImage().pixelColor(2, 2), QColor(0, 0, 102));
    EXPECT_EQ(outside->grab().toImage().pixelColor(2, 2), QColor(128, 128, 128));
    EXPECT_EQ(strip.grab().toImage().pixelColor(strip.GetItemRect(0).left() + 3, 3), stripBefore);

    EXPECT_TRUE(RunCommand(frame, ID_LOOK_AND_FEEL_SCHEME2));
    EXPECT_EQ(inside->grab().toImage().pixelColor(2, 2), QColor(128, 128, 128));
    EXPECT_EQ(LookAndFeelPalette::tabHotText(), QColor(255, 255, 255));
}

TEST_F(MainFrameTest, AcceleratorsRunEnabledCommandsOnly)
{
    CMainFrame& frame = ShowFrame();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    QTest::keyClick(frame.windowHandle(), Qt::Key_F1);
    QTest::keyClick(frame.windowHandle(), Qt::Key_Z, Qt::ControlModifier);  // handled, but disabled
    QTest::keyClick(frame.windowHandle(), Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(m_app.ran, std::vector<unsigned>{ID_HELP});
}

TEST_F(MainFrameTest, ExitClosesTheFrameWhenTheApplicationLeavesIt)
{
    CMainFrame& frame = ShowFrame();
    EXPECT_TRUE(Enabled(ID_APP_EXIT));
    EXPECT_TRUE(RunCommand(frame, ID_APP_EXIT));
    EXPECT_FALSE(frame.isVisible());
    EXPECT_EQ(Number(Pref::Maximize), 0u);  // closing wrote the placement
}

}  // namespace
