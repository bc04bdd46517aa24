#pragma once
// The look-and-feel change message: one event type registered for the whole
// process. A window that receives it reads the palette again; accepting the
// event is its answer. Tab strips and buttons ignore it (they keep the colours
// they copied when made).
#include <QEvent>

class QWidget;

class LookAndFeelEvent : public QEvent {
public:
    LookAndFeelEvent() : QEvent(Type()) {}
    static QEvent::Type Type();
};

/// Sends the event to every descendant of root, recursively (not to root).
void BroadcastLookAndFeel(QWidget* root);
