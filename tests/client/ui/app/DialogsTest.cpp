// The application's dialogs: captions, controls by id, limits and the values
// they show and return.
#include "AppFixture.h"

#include "client/app/UserLoginRequest.h"
#include "client/ui/app/AboutDlg.h"
#include "client/ui/shell/ControlId.h"
#include "client/ui/app/LoginDlg.h"
#include "client/ui/app/OptionsDlg.h"
#include "client/ui/app/ServerOptionsDlg.h"
#include "client/ui/app/WelcomeDlg.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

template <class T>
T* Control(const QWidget& dialog, int id)
{
    auto* control = qobject_cast<T*>(FindControl(&dialog, id));
    EXPECT_NE(control, nullptr) << "control " << id;
    return control;
}

TEST(AppDialogs, CaptionsAndControls)
{
    CUserLoginRequest request;
    struct Case {
        const char* name;
        std::function<std::unique_ptr<QDialog>()> make;
        const char* caption;
        int templateId;
        std::vector<int> controls;
    };
    const Case cases[] = {
        {"welcome", [] { return std::make_unique<CWelcomeDlg>("1.1.0.5"); }, "Corvanta Beta", 181, {1104, 1}},
        {"options",
         [] { return std::make_unique<COptionsDlg>(LoginOptions{}); },
         "Options",
         139,
         {1103, 1040, 1039, 1, 2}},
        {"server options",
         [] { return std::make_unique<CServerOptionsDlg>(ServerChoice{}); },
         "Server Options",
         159,
         {1088, 1101, 1100, 1, 2}},
        {"about", [] { return std::make_unique<CAboutDlg>("1.1.0.5"); }, "About Corvanta", 100, {1096, 1}},
        {"login",
         [&] { return std::make_unique<CLoginDlg>(request, nullptr); },
         "Login",
         135,
         {1023, 1024, 1102, 1, 1025}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto dialog = c.make();
        EXPECT_EQ(dialog->windowTitle().toStdString(), c.caption);
        EXPECT_EQ(dialog->objectName(), QStringLiteral("id_%1").arg(c.templateId));
        for (int id : c.controls)
            EXPECT_NE(FindControl(dialog.get(), id), nullptr) << "control " << id;
    }
}

bool ShowsAPicture(const QWidget& dialog)
{
    const auto labels = dialog.findChildren<QLabel*>();
    return std::any_of(labels.begin(), labels.end(), [](const QLabel* label) { return !label->pixmap().isNull(); });
}

TEST(AppDialogs, WelcomeAndAboutShowOurPicture)
{
    EXPECT_TRUE(ShowsAPicture(CWelcomeDlg("1.1.0.5")));
    EXPECT_TRUE(ShowsAPicture(CAboutDlg("1.1.0.5")));
}

TEST(AppDialogs, WelcomeTextCarriesTheVersionAndOurFeedbackAddress)
{
    CWelcomeDlg dialog("1.1.0.5");
    auto* text = Control<QLabel>(dialog, 1104);
    ASSERT_NE(text, nullptr);
    const QString shown = text->text();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Welcome to Corvanta BETA version 1.1.0.5.  This is an early BETA")));
    EXPECT_TRUE(shown.endsWith(QStringLiteral("Please send bug reports and product suggestions to "
                                              "feedback@corvanta.example.")));
    EXPECT_FALSE(shown.contains(QLatin1Char('\r')));
    EXPECT_TRUE(shown.contains(QStringLiteral("issues.  \n\nPlease")));
    // A program without a version shows the text with nothing in its place.
    EXPECT_TRUE(CWelcomeDlg::WelcomeText("").startsWith(QStringLiteral("Welcome to Corvanta BETA version .  ")));
    EXPECT_EQ(Control<QAbstractButton>(dialog, 1)->text(), QStringLiteral("Continue"));
}

TEST(AppDialogs, AboutShowsTheVersion)
{
    CAboutDlg dialog("1.1.0.5");
    EXPECT_EQ(Control<QLabel>(dialog, 1096)->text(), QStringLiteral("1.1.0.5"));
}

TEST(AppDialogs, LoginFieldsKeepTheirLimits)
{
    CUserLoginRequest request;
    CLoginDlg dialog(request, nullptr);
    auto* handle = Control<QLineEdit>(dialog, 1023);
    auto* password = Control<QLineEdit>(dialog, 1024);
    ASSERT_TRUE(handle && password);
    handle->setText(QString(40, QLatin1Char('h')));
    password->setText(QString(40, QLatin1Char('p')));
    EXPECT_EQ(handle->text().size(), 25);
    EXPECT_EQ(password->text().size(), 20);
    EXPECT_EQ(handle->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_EQ(Control<QCheckBox>(dialog, 1102)->text(), QStringLiteral("Save login information"));
    // Without sign-up there is nothing behind "New User...".
    EXPECT_FALSE(Control<QAbstractButton>(dialog, 1025)->isEnabled());
    EXPECT_EQ(Control<QAbstractButton>(dialog, 1025)->text(), QStringLiteral("New User..."));
}

TEST(AppDialogs, OptionsShowAndReturnTheLoginValues)
{
    COptionsDlg dialog(LoginOptions{"ann", "secret", true});
    EXPECT_EQ(Control<QLineEdit>(dialog, 1040)->text(), QStringLiteral("ann"));
    EXPECT_EQ(Control<QLineEdit>(dialog, 1039)->text(), QStringLiteral("secret"));
    EXPECT_EQ(Control<QLineEdit>(dialog, 1039)->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(Control<QCheckBox>(dialog, 1103)->isChecked());
    Control<QCheckBox>(dialog, 1103)->setChecked(false);
    const LoginOptions values = dialog.Values();
    EXPECT_FALSE(values.automaticLogin);
    EXPECT_EQ(values.handle, "ann");
    EXPECT_EQ(values.password, "secret");
}

TEST(AppDialogs, ServerOptionsOfferFourHostsAndTheChosenPorts)
{
    for (bool defaultPorts : {true, false}) {
        SCOPED_TRACE(defaultPorts);
        CServerOptionsDlg dialog(ServerChoice{"my.host", defaultPorts});
        auto* combo = Control<QComboBox>(dialog, 1088);
        ASSERT_NE(combo, nullptr);
        EXPECT_TRUE(combo->isEditable());
        ASSERT_EQ(combo->count(), 4);
        EXPECT_EQ(combo->itemText(0), QString::fromLatin1(kDefaultServerHost));
        EXPECT_EQ(combo->itemText(3), QStringLiteral("127.0.0.1"));
        EXPECT_EQ(combo->currentText(), QStringLiteral("my.host"));
        EXPECT_EQ(Control<QRadioButton>(dialog, 1101)->isChecked(), defaultPorts);
        EXPECT_EQ(Control<QRadioButton>(dialog, 1100)->isChecked(), !defaultPorts);
        EXPECT_EQ(dialog.Values().host, "my.host");
        EXPECT_EQ(dialog.Values().defaultPorts, defaultPorts);
    }
    CServerOptionsDlg dialog(ServerChoice{"my.host", true});
    Control<QComboBox>(dialog, 1088)->setCurrentIndex(3);
    Control<QRadioButton>(dialog, 1100)->setChecked(true);
    EXPECT_EQ(dialog.Values().host, "127.0.0.1");
    EXPECT_FALSE(dialog.Values().defaultPorts);
    const struct {
        const char* typed;
        const char* host;
    } typedHosts[] = {{"  my.server  ", "my.server"}, {"", kDefaultServerHost}, {"   ", kDefaultServerHost}};
    for (const auto& c : typedHosts) {
        SCOPED_TRACE(c.typed);
        Control<QComboBox>(dialog, 1088)->setEditText(QString::fromLatin1(c.typed));
        EXPECT_EQ(dialog.Values().host, c.host);
    }
}

}  // namespace
