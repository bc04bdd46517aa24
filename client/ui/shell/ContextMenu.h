#pragma once
// The panes' one way of showing a context menu: the first popup of a menu
// resource, its commands greyed, checked or retitled by the pane's enable
// queries (see CommandTarget.h; "Play (%d Local)" comes from SetText), shown
// at the cursor, and the chosen command delivered to the pane.
//
//   void CMyPane::OnContextRequest(CGridRowItem* item, int x, int y)
//   {
//       m_contextRow = m_grid->RowIdOf(item);   // an identity, not the pointer
//       TrackContextMenu(IDR_MENU_X, QPoint(x, y), *this, this);
//       // nothing after it may touch the pane: it may be gone
//   }
//
// The menu runs a nested event loop: answers arrive and rows come and go
// while it is open. The chosen command is therefore delivered through its
// enable query again, and the pane looks its row up again by identity.
#include <QPoint>

class ICommandTarget;
class QWidget;

/// Shows menu resource menuId's first popup at the screen point at, owned by
/// owner, and runs the chosen command through target when its enable query
/// still allows it. Returns the command that ran; 0 when there is no such
/// menu, nothing was chosen, the command was disabled by then, or owner went
/// while the menu was open (then target is not called either).
unsigned TrackContextMenu(unsigned menuId, const QPoint& at, ICommandTarget& target, QWidget* owner);
