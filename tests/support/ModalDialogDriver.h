#pragma once
// Answers the modal dialogs a test sets off: each dialog that becomes the
// active modal window is handed, once, to the test's handler, which runs from
// the dialog's own loop (and may open further dialogs, which are handed over
// in turn).
#include <QApplication>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

class CModalDialogDriver : public QObject {
public:
    using Handler = std::function<void(QWidget* dialog)>;

    explicit CModalDialogDriver(Handler handler) : m_handler(std::move(handler))
    {
        connect(&m_timer, &QTimer::timeout, this, &CModalDialogDriver::Tick);
        m_timer.start(5);
    }

    /// Dialogs handed over so far.
    int shown = 0;

private:
    void Tick()
    {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->isVisible())
            return;
        for (const QPointer<QWidget>& seen : m_seen)
            if (seen == dialog)
                return;
        m_seen.emplace_back(dialog);
        ++shown;
        // From a timer of its own: the handler may block in a nested loop
        // while this driver keeps watching.
        QPointer<QWidget> target(dialog);
        QTimer::singleShot(0, this, [this, target] {
            if (target)
                m_handler(target);
        });
    }

    Handler m_handler;
    QTimer m_timer;
    std::vector<QPointer<QWidget>> m_seen;
};
