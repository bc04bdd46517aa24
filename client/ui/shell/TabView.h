#pragma once
// The base of the child windows that the tab strip switches between. A view
// hosts one pane, sized to the view's client area, or lays out several
// itself; it paints nothing of its own. Commands go to the hosted pane first,
// then to the view.
#include "client/ui/shell/CommandTarget.h"

#include <QString>
#include <QWidget>

class CTabView : public QWidget, public ICommandTarget {
public:
    /// windowName becomes the view's object name ("homeview").
    explicit CTabView(const QString& windowName, QWidget* parent = nullptr);

    /// The tab's title.
    virtual QString GetTitle() const = 0;

    /// Makes the view a hidden child of parent with controlId.
    void Create(QWidget* parent, int controlId);

    /// The hosted pane (a child of the view), or nullptr.
    QWidget* Pane() const { return m_pane; }

    bool OnCmdMsg(unsigned id, CCommandUpdate* update) override;

protected:
    /// Hosts pane: it becomes a child and follows the view's size; commands
    /// reach it through commands (usually the pane itself; may be null).
    void SetPane(QWidget* pane, ICommandTarget* commands);
    template <class Pane>
    void SetPane(Pane* pane)
    {
        SetPane(pane, pane);
    }
    /// The view's own commands, after the pane's; none by default.
    virtual bool OnViewCmdMsg(unsigned id, CCommandUpdate* update);

    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* m_pane = nullptr;
    ICommandTarget* m_paneCommands = nullptr;
};
