#pragma once
// The base of every pane: a child window built from a numbered template
// (the derived class builds its controls in OnInitDialog), painted in the
// palette's pane colours and repainted on a look-and-feel change. Enter and
// Escape never close a pane, nor the dialog around it.
//
// Tool tips: a control of the pane shows the string table's text under its
// own control id, asked for when the tip is due; a control without such a
// string (a grid) shows none. A pane swaps a control's text at run time with
// SetToolTipString, or overrides ToolTipText.
#include "client/ui/shell/CommandTarget.h"

#include <QColor>
#include <QWidget>

#include <unordered_map>

class CBaseDlgPane : public QWidget, public ICommandTarget {
public:
    explicit CBaseDlgPane(unsigned templateId, QWidget* parent = nullptr);

    unsigned TemplateId() const { return m_templateId; }

    /// Makes the pane a child of parent with controlId and builds its controls
    /// (once); the pane stays hidden until shown.
    void Create(QWidget* parent, int controlId);
    /// The same, then shown (the way the splitter makes its panes).
    void CreateAndShow(QWidget* parent, int controlId);

    /// Panes handle no command of their own; derived panes override.
    bool OnCmdMsg(unsigned id, CCommandUpdate* update) override;

    /// The colour the background is filled with.
    QColor BackgroundColor() const { return m_background; }

    /// Control controlId shows string stringId as its tool tip from now on;
    /// RestoreToolTipString goes back to the string of its own id.
    void SetToolTipString(int controlId, unsigned stringId);
    void RestoreToolTipString(int controlId);
    /// The tool tip of control controlId; empty for none.
    virtual QString ToolTipText(int controlId) const;

protected:
    /// Builds the template's controls; runs once, at creation.
    virtual void OnInitDialog() {}
    /// Enter and Escape: nothing, so no key closes a pane.
    virtual void OnOK() {}
    virtual void OnCancel() {}
    /// The look-and-feel change: takes the palette's pane colours and repaints.
    /// Returns the answer to the change (accepted).
    virtual bool OnLookAndFeel();
    /// Replaces the background colour (panes with a fixed colour of their own).
    void SetBackgroundColor(const QColor& color);

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ApplyStaticColors();
    /// Shows the tool tip of the pane's control under the help event; false
    /// when it has none.
    bool ShowControlToolTip(QEvent* event);

    unsigned m_templateId;
    std::unordered_map<int, unsigned> m_toolTipStrings;
    QColor m_background;
    bool m_created = false;
};
