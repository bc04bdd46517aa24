#pragma once
// Once the program is to end no dialog may hold it up. Modal windows nest:
// each message box runs its loop inside the one below it, so closing only the
// top one returns into the next. The closer closes every modal window that is
// open and, while it lives, each one that opens afterwards as soon as its loop
// runs. A window that refuses to close (the busy window of a synchronous
// exchange) goes by itself.
#include <QObject>

class CModalWindowCloser : public QObject {
public:
    explicit CModalWindowCloser(QObject* parent = nullptr);
    ~CModalWindowCloser() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
