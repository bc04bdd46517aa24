#include "client/ui/app/ModalWindowCloser.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <vector>

CModalWindowCloser::CModalWindowCloser(QObject* parent) : QObject(parent)
{
    qApp->installEventFilter(this);
    // Any order ends them: a loop told to end returns once those above it have.
    std::vector<QPointer<QWidget>> open;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->isModal())
            open.emplace_back(window);
    }
    for (const QPointer<QWidget>& window : open) {
        if (window)
            window->close();
    }
}

CModalWindowCloser::~CModalWindowCloser()
{
    qApp->removeEventFilter(this);
}

bool CModalWindowCloser::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* window = static_cast<QWidget*>(watched);
        // Closed from its own loop: a dialog closed while it is being shown
        // would start its loop after the end was asked for, and wait.
        if (window->isWindow() && window->isModal())
            QTimer::singleShot(0, window, [window] { window->close(); });
    }
    return QObject::eventFilter(watched, event);
}
