#pragma once
// Answers the modal dialogs a test sets off: each new modal window is
// recorded by its object name and handed to the test's handler. The busy
// window of synchronous exchanges (template 178) comes and goes by itself
// and is passed over.
#include <QApplication>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

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
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == m_last || modal->objectName() == QLatin1String("id_178"))
            return;
        m_last = modal;
        seen.push_back(modal->objectName().toStdString());
        m_handler(modal);
    }

    Handler m_handler;
    QTimer m_timer;
    QPointer<QWidget> m_last;
};
