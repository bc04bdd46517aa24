#include "client/ui/web/WebBrowser2.h"

#include <QApplication>
#include <QDialog>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>

#include <gtest/gtest.h>

namespace {

// A silent browser opens no dialog of its own: an alert returns at once and
// a confirmation is refused, so the script runs on to its end.
TEST(WebBrowser2Test, SilentBrowserAnswersScriptDialogsItself)
{
    CWebBrowser2 browser;
    browser.SetSilent(true);
    browser.resize(300, 200);
    browser.show();
    QSignalSpy titled(&browser, &QWebEngineView::titleChanged);
    browser.setHtml("<html><head><script>alert('hello'); document.title = 'after:' + confirm('sure?') + ':' +"
                    " prompt('name', 'x');</script></head><body></body></html>");
    ASSERT_TRUE(QTest::qWaitFor([&] { return browser.title() == "after:false:null"; }, 60000))
        << browser.title().toStdString();
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_FALSE(dynamic_cast<QDialog*>(window) != nullptr && window->isVisible());
}

}  // namespace
