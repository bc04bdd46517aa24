#pragma once
// Command routing. A command (a menu item, an accelerator or a command sent in
// code) is offered along a chain of targets: the visible pane, its tab view,
// the child view, the detail viewer, the frame, the application. The first
// target that handles it ends the walk. Before a menu opens, and before an
// accelerator fires, the same chain answers an enable query for each command;
// a command that no target handles is disabled.
//
// A target answers both kinds in one override:
//
//   bool CMyPane::OnCmdMsg(unsigned id, CCommandUpdate* update)
//   {
//       if (id == ID_VIEW_REFRESH) {
//           if (update)
//               update->Enable(CanRefresh());  // enable query: say how it shows
//           else
//               Refresh();                     // the command itself
//           return true;                       // handled: the walk ends here
//       }
//       return CBaseDlgPane::OnCmdMsg(id, update);
//   }
#include <QString>

#include <optional>

/// The answer to an enable query. A target that handles the command starts
/// from "enabled, unchecked" and may change either.
class CCommandUpdate {
public:
    explicit CCommandUpdate(unsigned id) : m_id(id) {}

    unsigned Id() const { return m_id; }
    void Enable(bool on = true) { m_enabled = on; }
    void SetCheck(bool on = true) { m_checked = on; }
    /// Replaces the menu item's text while the menu is shown.
    void SetText(const QString& text) { m_text = text; }

    bool Enabled() const { return m_enabled; }
    bool Checked() const { return m_checked; }
    const std::optional<QString>& Text() const { return m_text; }

private:
    unsigned m_id;
    bool m_enabled = true;
    bool m_checked = false;
    std::optional<QString> m_text;
};

class ICommandTarget {
public:
    /// update is nullptr to run command id, or the enable query to answer.
    /// Returns true when this target (or the chain behind it) handles id.
    virtual bool OnCmdMsg(unsigned id, CCommandUpdate* update) = 0;

protected:
    ~ICommandTarget() = default;
};

/// Runs the enable query for id through target: disabled when nobody handles it.
inline CCommandUpdate QueryCommand(ICommandTarget& target, unsigned id)
{
    CCommandUpdate update(id);
    if (!target.OnCmdMsg(id, &update))
        update.Enable(false);
    return update;
}

/// Runs command id through target when its enable query allows it; returns
/// whether it ran.
inline bool RunCommand(ICommandTarget& target, unsigned id)
{
    return QueryCommand(target, id).Enabled() && target.OnCmdMsg(id, nullptr);
}
