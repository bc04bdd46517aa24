#pragma once
// The base of every pane: a child window built from a numbered template
// (the derived class builds its controls in OnInitDialog), painted in the
// palette's pane colours and repainted on a look-and-feel change. Enter and
// Escape never close a pane, nor the dialog around it.
#include "client/ui/shell/CommandTarget.h"

#include <QColor>
#include <QWidget>

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

    unsigned m_templateId;
    QColor m_background;
    bool m_created = false;
};
