#pragma once
// Answers the modal dialogs a test sets off: each modal window that becomes
// active is recorded by its object name and handed, once while it stays
// shown, to the test's handler. The handler runs from a timer of its own, so
// it may open further modal windows, which are handed over in turn. The busy
// window of synchronous exchanges (template 178) comes and goes by itself
// and is passed over.
#include <QApplication>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

class CModalDriver : public QObject {
public:
    using Handler = std::function<void(QWidget* modal)>;

    explicit CModalDriver(Handler handler) : m_handler(std::move(handler))
    {
        connect(&m_timer, &QTimer::timeout, this, &CModalDriver::Tick);
        m_timer.start(5);
    }

    /// Object names of the modal windows seen, in order.
    std::vector<std::string> seen;

private:
    void Tick()
    {
        // A window that was closed is handed over again when shown again.
        m_shown.erase(std::remove_if(m_shown.begin(), m_shown.end(),
                                     [](const QPointer<QWidget>& w) { return !w || !w->isVisible(); }),
                      m_shown.end());
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal->objectName() == QLatin1String("id_178") ||
            std::find(m_shown.begin(), m_shown.end(), modal) != m_shown.end())
            return;
        m_shown.emplace_back(modal);
        seen.push_back(modal->objectName().toStdString());
        QPointer<QWidget> target(modal);
        QTimer::singleShot(0, this, [this, target] {
            if (target)
                m_handler(target);
        });
    }

    Handler m_handler;
    QTimer m_timer;
    std::vector<QPointer<QWidget>> m_shown;
};
