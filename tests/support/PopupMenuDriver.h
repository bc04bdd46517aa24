#pragma once
// Answers the context menus a test sets off: each popup menu that opens is
// handed to the test's handler while the menu's own loop runs, and Choose picks
// a command in it as a member does (highlight it, press Enter).
#include "client/ui/shell/CommandMenu.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>

class CPopupMenuDriver : public QObject {
public:
    using Handler = std::function<void(QMenu* menu)>;

    explicit CPopupMenuDriver(Handler handler) : m_handler(std::move(handler))
    {
        connect(&m_timer, &QTimer::timeout, this, &CPopupMenuDriver::Tick);
        m_timer.start(5);
    }

    /// Highlights command id and presses Enter; false (the menu stays open)
    /// when the menu has no enabled item with that id.
    static bool Choose(QMenu* menu, unsigned id)
    {
        QAction* action = FindCommandAction(menu, id);
        if (!action || !action->isEnabled())
            return false;
        menu->setActiveAction(action);
        QTest::keyClick(menu, Qt::Key_Return);
        return true;
    }
    /// Closes the menu without a choice.
    static void Dismiss(QMenu* menu) { QTest::keyClick(menu, Qt::Key_Escape); }
    /// The menu as one line: command ids in order, "!" before a greyed one,
    /// "-" for separators.
    static std::string Shape(QMenu* menu)
    {
        std::string shape;
        for (QAction* action : menu->actions()) {
            if (!shape.empty())
                shape += ' ';
            shape += action->isSeparator() ? std::string("-")
                                           : (action->isEnabled() ? "" : "!") + std::to_string(CommandId(action));
        }
        return shape;
    }

    /// Menus seen so far.
    int shown = 0;

private:
    void Tick()
    {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || menu == m_last || !menu->isVisible())
            return;
        m_last = menu;
        ++shown;
        m_handler(menu);
    }

    Handler m_handler;
    QTimer m_timer;
    QPointer<QMenu> m_last;
};
