// The Login dialog against a loopback server: failures keep it open with the
// server's message, success closes it with the session.
#include "AppFixture.h"

#include "client/app/UserLoginRequest.h"
#include "client/ui/shell/ControlId.h"
#include "client/ui/app/LoginDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QLineEdit>

#include <atomic>

namespace {

class LoginDlgTest : public AppFixture {
protected:
    void Fill(CLoginDlg& dialog, const char* handle, const char* password, bool save)
    {
        Find<QLineEdit>(dialog, 1023)->setText(QString::fromLatin1(handle));
        Find<QLineEdit>(dialog, 1024)->setText(QString::fromLatin1(password));
        Find<QCheckBox>(dialog, 1102)->setChecked(save);
    }
    template <class T>
    static T* Find(const QWidget& dialog, int id)
    {
        return qobject_cast<T*>(FindControl(&dialog, id));
    }
};

TEST_F(LoginDlgTest, AFailedLoginShowsWhyAndKeepsTheDialogOpen)
{
    struct Case {
        const char* answer;
        const char* shown;
    };
    const Case cases[] = {
        {"<Exception>com.corvanta.LoginException: Wrong password</Exception>", " Wrong password"},
        {"<Exception>No such member</Exception>", "No such member"},
        {"Service unavailable", "Service unavailable\n\r"},
        {"", "Server Error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        m_messages.clear();
        m_secure.SetResponse(kLoginPage, 200, c.answer);
        CUserLoginRequest request;
        CLoginDlg dialog(request, nullptr);
        dialog.show();
        Fill(dialog, "ann", "pw", false);
        Find<QLineEdit>(dialog, 1024)->setFocus();
        Find<QAbstractButton>(dialog, 1)->click();
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0].text, c.shown);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(dialog.focusWidget(), Find<QLineEdit>(dialog, 1023));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    const RecordedRequest sent = m_secure.LastRequest();
    EXPECT_EQ(sent.Form("UserHandle"), "ann");
    EXPECT_EQ(sent.Form("PWD"), "pw");
}

TEST_F(LoginDlgTest, ASuccessfulLoginClosesWithTheSessionUnderTheWaitCursor)
{
    std::atomic<bool> waitCursorShown{false};
    m_secure.SetResponse(kLoginPage, [&](const RecordedRequest&) {
        // The user-interface thread is inside the exchange while this runs.
        const QCursor* cursor = QApplication::overrideCursor();
        waitCursorShown = cursor && cursor->shape() == Qt::WaitCursor;
        return ScriptedResponse{200, "<Session userToken=\"sess:77\"><UserID>12</UserID></Session>"};
    });
    CUserLoginRequest request;
    CLoginDlg dialog(request, nullptr);
    dialog.show();
    Fill(dialog, "ann", "pw", true);
    Find<QAbstractButton>(dialog, 1)->click();
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(waitCursorShown);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    const LoginDialogResult& result = dialog.Result();
    EXPECT_EQ(result.handle, "ann");
    EXPECT_EQ(result.password, "pw");
    EXPECT_EQ(result.token, "sess:77");
    EXPECT_EQ(result.userId, 12);
    EXPECT_TRUE(result.saveLogin);
}

TEST_F(LoginDlgTest, NewUserLogsTheNewMemberInAndKeepsTheSaveFlag)
{
    CUserLoginRequest request;
    CLoginDlg dialog(request, [](QWidget*, LoginDialogResult& signedUp) {
        signedUp = {"newbie", "pw2", "tok:5", 5, false};
        return true;
    });
    dialog.show();
    Fill(dialog, "", "", true);
    auto* newUser = Find<QAbstractButton>(dialog, 1025);
    ASSERT_TRUE(newUser->isEnabled());
    newUser->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Result().handle, "newbie");
    EXPECT_EQ(dialog.Result().token, "tok:5");
    EXPECT_EQ(dialog.Result().userId, 5);
    EXPECT_TRUE(dialog.Result().saveLogin);
    EXPECT_EQ(m_secure.RequestCount(), 0u);
}

TEST_F(LoginDlgTest, CentresItselfOnTheDesktop)
{
    CUserLoginRequest request;
    CLoginDlg dialog(request, nullptr);
    dialog.show();
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((dialog.frameGeometry().center() - centre).manhattanLength(), 2);
}

}  // namespace
