// The program's message boxes: OK button, the application title as caption,
// shown on the user-interface thread whoever asks.
#include "tests/support/ModalDriver.h"

#include "client/ui/app/QtMessageBox.h"
#include "platform/Http.h"
#include "platform/MessageBox.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QThread>

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace {

struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool onUiThread = false;
};

class QtMessageBoxTest : public testing::Test {
protected:
    void SetUp() override
    {
        QCoreApplication::setApplicationName(QStringLiteral("Corvanta"));
        InstallQtMessageBoxes();
    }
    void TearDown() override { UninstallQtMessageBoxes(); }

    /// Records each box and presses button on it.
    CModalDriver Driver(QMessageBox::StandardButton button)
    {
        return CModalDriver([this, button](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            seen.push_back({box->windowTitle(), box->text(), box->standardButtons(), box->icon(),
                            QThread::currentThread() == QCoreApplication::instance()->thread()});
            box->button(button)->click();
        });
    }

    std::vector<SeenBox> seen;
};

TEST_F(QtMessageBoxTest, ButtonsCaptionAndAnswers)
{
    struct Case {
        const char* caption;
        unsigned type;
        QMessageBox::StandardButton press;
        QMessageBox::StandardButtons buttons;
        int answer;
        const char* shownCaption;
    };
    const Case cases[] = {
        {"", kMbOk, QMessageBox::Ok, QMessageBox::Ok, kIdOk, "Corvanta"},
        {"Error Creating User", kMbOk, QMessageBox::Ok, QMessageBox::Ok, kIdOk, "Error Creating User"},
        {"", kMbYesNo | kMbIconQuestion, QMessageBox::No, QMessageBox::Yes | QMessageBox::No, kIdNo, "Corvanta"},
        {"", kMbOkCancel, QMessageBox::Cancel, QMessageBox::Ok | QMessageBox::Cancel, kIdCancel, "Corvanta"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        seen.clear();
        CModalDriver driver = Driver(c.press);
        EXPECT_EQ(ShowMessageBox("Automatic login failed", c.caption, c.type), c.answer);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].caption.toStdString(), c.shownCaption);
        EXPECT_EQ(seen[0].text, QStringLiteral("Automatic login failed"));
        EXPECT_EQ(seen[0].buttons, c.buttons);
    }
}

TEST_F(QtMessageBoxTest, AWorkerThreadsBoxIsShownOnTheUserInterfaceThread)
{
    CModalDriver driver = Driver(QMessageBox::Ok);
    auto answer = std::async(std::launch::async, [] { return ShowMessageBox("Service unavailable\n\r"); });
    QDeadlineTimer deadline(20000);
    while (answer.wait_for(std::chrono::seconds(0)) != std::future_status::ready && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    ASSERT_EQ(answer.wait_for(std::chrono::seconds(0)), std::future_status::ready);
    EXPECT_EQ(answer.get(), kIdOk);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].onUiThread);
    // An answer's "\n\r" line ends show as plain line breaks.
    EXPECT_EQ(seen[0].text, QStringLiteral("Service unavailable\n"));
}

TEST_F(QtMessageBoxTest, TransportErrorsLeaveTheWorkerAndShowAnErrorBox)
{
    CModalDriver driver = Driver(QMessageBox::Ok);
    // An exchange to a port where nothing listens fails at once with a
    // connection error; the worker must not wait for the box.
    std::thread worker([] {
        std::string answer;
        HttpPostForm("127.0.0.1", 1, "/corvanta/production/orvane/UserLogin.jsp", "x=1", answer, false);
    });
    worker.join();
    QDeadlineTimer deadline(20000);
    while (seen.empty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].icon, QMessageBox::Critical);
    EXPECT_EQ(seen[0].caption, QStringLiteral("Corvanta"));
    EXPECT_FALSE(seen[0].text.isEmpty());
}

}  // namespace
