#include "client/ui/shell/LookAndFeelEvent.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

QEvent::Type LookAndFeelEvent::Type()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void BroadcastLookAndFeel(QWidget* root)
{
    if (!root)
        return;
    // Collect first, guarded: a receiver may add or delete windows meanwhile.
    QList<QPointer<QWidget>> all;
    for (QWidget* widget : root->findChildren<QWidget*>())
        all.append(widget);
    for (const QPointer<QWidget>& widget : all) {
        if (!widget)
            continue;
        LookAndFeelEvent event;
        QCoreApplication::sendEvent(widget.data(), &event);
    }
}
