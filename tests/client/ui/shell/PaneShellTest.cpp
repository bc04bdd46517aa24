// What every pane gets from the shell: context menus run through the pane's
// enable queries, tool tips by control id, and the system clipboard.
#include "client/localmedia/PerformanceClip.h"
#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"
#include "client/ui/shell/BaseDlgPane.h"
#include "client/ui/shell/ContextMenu.h"
#include "client/ui/shell/ControlId.h"
#include "client/ui/shell/QtClipboardStore.h"
#include "tests/support/PopupMenuDriver.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QMimeData>
#include <QPushButton>
#include <QToolTip>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// A pane answering the favorites' track menu: Preview greyed while it has no
// preview, Copy renamed, every command recorded when it runs.
class MenuPane : public CBaseDlgPane {
public:
    MenuPane() : CBaseDlgPane(1000) {}
    bool OnCmdMsg(unsigned id, CCommandUpdate* update) override
    {
        if (id != ID_SHOW_DETAILS && id != ID_TRACK_PREVIEW && id != ID_ITEM_COPY && id != ID_REMOVE_FAVORITE_TRACK)
            return CBaseDlgPane::OnCmdMsg(id, update);
        if (update) {
            update->Enable(disabled.count(id) == 0);
            if (id == ID_ITEM_COPY)
                update->SetText(QStringLiteral("Copy (%1)").arg(copies));
        } else {
            ran.push_back(id);
        }
        return true;
    }
    std::set<unsigned> disabled;
    std::vector<unsigned> ran;
    int copies = 2;
};

QPoint Cursor()
{
    return QPoint(40, 40);
}

TEST(ContextMenuTest, EnableQueriesShapeTheMenuAndTheChoiceReachesThePane)
{
    MenuPane pane;
    pane.disabled = {ID_TRACK_PREVIEW};
    std::vector<std::pair<QString, bool>> items;
    CPopupMenuDriver driver([&](QMenu* menu) {
        for (QAction* action : menu->actions())
            if (!action->isSeparator())
                items.emplace_back(action->text(), action->isEnabled());
        EXPECT_FALSE(CPopupMenuDriver::Choose(menu, ID_TRACK_PREVIEW)) << "greyed";
        EXPECT_TRUE(CPopupMenuDriver::Choose(menu, ID_ITEM_COPY));
    });
    EXPECT_EQ(TrackContextMenu(IDR_MENU_FAVORITE_TRACK, Cursor(), pane, &pane), ID_ITEM_COPY);
    EXPECT_EQ(driver.shown, 1);
    const std::vector<std::pair<QString, bool>> expected = {
        {"Show Details", true}, {"Preview", false}, {"Copy (2)", true}, {"Remove From Favorites", true}};
    EXPECT_EQ(items, expected);
    EXPECT_EQ(pane.ran, std::vector<unsigned>{ID_ITEM_COPY});
}

TEST(ContextMenuTest, WhatChangesWhileTheMenuIsOpenDecides)
{
    MenuPane pane;
    // The pane's row goes while the menu is open: its command is no longer enabled.
    CPopupMenuDriver driver([&](QMenu* menu) {
        pane.disabled.insert(ID_SHOW_DETAILS);
        CPopupMenuDriver::Choose(menu, ID_SHOW_DETAILS);
    });
    EXPECT_EQ(TrackContextMenu(IDR_MENU_FAVORITE_TRACK, Cursor(), pane, &pane), 0u);
    EXPECT_TRUE(pane.ran.empty());
}

TEST(ContextMenuTest, DismissedMenusAndUnknownMenusRunNothing)
{
    MenuPane pane;
    CPopupMenuDriver driver([](QMenu* menu) { CPopupMenuDriver::Dismiss(menu); });
    EXPECT_EQ(TrackContextMenu(IDR_MENU_FAVORITE_TRACK, Cursor(), pane, &pane), 0u);
    EXPECT_EQ(TrackContextMenu(9999, Cursor(), pane, &pane), 0u);
    EXPECT_EQ(driver.shown, 1);
    EXPECT_TRUE(pane.ran.empty());
}

TEST(ContextMenuTest, AnOwnerDestroyedWhileTheMenuIsOpenIsNotCalled)
{
    auto* pane = new MenuPane;
    CPopupMenuDriver driver([&](QMenu* menu) {
        CPopupMenuDriver::Choose(menu, ID_ITEM_COPY);
        delete pane;
    });
    EXPECT_EQ(TrackContextMenu(IDR_MENU_FAVORITE_TRACK, Cursor(), *pane, pane), 0u);
}

// A pane with three controls: one with a string under its id, one without, and
// one whose id names a string only after the pane swaps it in.
class TipPane : public CBaseDlgPane {
public:
    TipPane() : CBaseDlgPane(1000)
    {
        for (int id : {IDC_MY_PLAYLISTS_NEW, IDC_BOOKMARK_GRID}) {
            auto* button = new QPushButton(QStringLiteral("b"), this);
            SetControlId(button, id);
            button->setGeometry(0, 30 * static_cast<int>(buttons.size()), 60, 25);
            buttons.push_back(button);
        }
        resize(100, 100);
    }
    QString TipOf(int index)
    {
        QWidget* button = buttons[static_cast<std::size_t>(index)];
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(button, &help);
        // A request nobody answers is left unaccepted.
        return help.isAccepted() ? QToolTip::text() : QString();
    }
    std::vector<QWidget*> buttons;
};

TEST(PaneToolTipTest, ControlsShowTheStringOfTheirIdWhichThePaneMaySwap)
{
    TipPane pane;
    pane.show();
    EXPECT_EQ(pane.TipOf(0), QString::fromUtf8(LoadResourceString(IDC_MY_PLAYLISTS_NEW)));
    EXPECT_EQ(pane.TipOf(1), QString()) << "no string, no tip (the grids)";
    pane.SetToolTipString(IDC_MY_PLAYLISTS_NEW, IDS_NO_FILES_TO_PLAY);
    EXPECT_EQ(pane.TipOf(0), "Playlist contains no MP3 files to play");
    pane.RestoreToolTipString(IDC_MY_PLAYLISTS_NEW);
    EXPECT_EQ(pane.TipOf(0), "Create a new, empty playlist");
}

TEST(QtClipboardStoreTest, APerformanceGoesUnderItsOwnTypeAndAsPlainText)
{
    CQtClipboardStore clipboard;
    PerformanceSummary track;
    track.performanceID = 77;
    track.SongName = "Blue Moon";
    track.ArtistName = "Kestrel";
    track.Version = "Live";
    ASSERT_TRUE(CopyPerformanceToClipboard(clipboard, track));

    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_TRUE(mime->hasFormat("application/x-corvantaperformance"));
    EXPECT_EQ(mime->data("application/x-corvantaperformance").size(), static_cast<int>(kPerformanceClipSize));
    EXPECT_EQ(mime->text(), "Kestrel - Blue Moon");
    const auto pasted = ReadPerformanceFromClipboard(clipboard);
    ASSERT_TRUE(pasted);
    EXPECT_EQ(pasted->performanceID, 77);
    EXPECT_EQ(pasted->Version, "Live");

    QGuiApplication::clipboard()->setText(QStringLiteral("plain"));
    EXPECT_FALSE(ReadPerformanceFromClipboard(clipboard)) << "text alone is no performance";
}

}  // namespace
