#include "client/ui/web/PreviewBrowser.h"

#include "client/catalogue/FulfillPerformanceRequest.h"
#include "client/protocol/ServerSettings.h"
#include "tests/support/LoopbackHttpServer.h"

#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The preview answer is read on the exchange's worker; its address reaches
// the hidden browser on the user-interface thread, which asks the server for
// it without ever being shown.
TEST(PreviewBrowserTest, PlaysWhatThePreviewAnswerNamesAndStaysHidden)
{
    CLoopbackHttpServer server;
    CServerSettings settings(CLoopbackHttpServer::kHost, 1);
    settings.SetPortOverride(server.Port(), server.Port());
    SetActiveServerSettings(&settings);
    const std::string preview = "/corvanta/production/tessarin/preview/77.wav";
    server.SetResponse(ServerPagePath("fulfill/fulfillperformance.jsp"), 200,
                       "<Fulfillment><URL>http://127.0.0.1:" + std::to_string(server.Port()) + preview +
                           "</URL></Fulfillment>");

    QWidget frame;
    frame.resize(300, 200);
    auto* browser = new CPreviewBrowser(&frame);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));

    CFulfillPerformanceRequest request;
    request.SetNavigator([target = QPointer<CPreviewBrowser>(browser)](const std::string& url) {
        if (target)
            target->NavigatePreview(url);
    });
    ASSERT_EQ(request.Fulfill("tok", 77), S_OK);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !server.RequestsTo(preview).empty(); }, 20000));
    EXPECT_FALSE(browser->isVisible());
    browser->show();
    EXPECT_FALSE(browser->isVisible());
    SetActiveServerSettings(nullptr);
}

}  // namespace
