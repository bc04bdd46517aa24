#include "client/ui/web/BlockingCallRunner.h"

#include "client/ui/base/QtUiDispatcher.h"
#include "client/ui/web/ProgressDlg.h"
#include "platform/BlockingCall.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <exception>
#include <thread>

CBlockingCallRunner::CBlockingCallRunner(OwnerSource owner) : m_owner(std::move(owner))
{
    SetBlockingCallRunner([this](const std::function<void()>& work) { Run(work); });
}

CBlockingCallRunner::~CBlockingCallRunner()
{
    SetBlockingCallRunner({});
}

void CBlockingCallRunner::Run(const std::function<void()>& work)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() != app->thread()) {
        work();
        return;
    }

    CQtUiDispatcher* dispatcher = CQtUiDispatcher::Instance();
    if (dispatcher != nullptr)
        dispatcher->Hold();

    QWidget* owner = m_owner ? m_owner() : nullptr;
    CProgressDlg progress;
    progress.Create(nullptr);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.CenterOn(owner);
    progress.show();
    progress.SetTextId(CBlockingCallMessage::Current());
    CProgressDlg* outer = m_current;
    m_current = &progress;

    QEventLoop loop;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued to the loop's thread: quits even when the loop has not started yet.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::AllEvents);
    worker.join();

    m_current = outer;
    progress.hide();
    if (dispatcher != nullptr)
        dispatcher->Release();
    if (failure)
        std::rethrow_exception(failure);
}
