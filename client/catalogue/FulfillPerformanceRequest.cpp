#include "client/catalogue/FulfillPerformanceRequest.h"

#include "client/catalogue/AnswerXml.h"
#include "platform/Dispatcher.h"
#include "platform/Url.h"

CFulfillPerformanceRequest::CFulfillPerformanceRequest()
{
    SetPage("fulfill/fulfillperformance.jsp", false);
}

CFulfillPerformanceRequest::~CFulfillPerformanceRequest()
{
    CancelPendingJobs();
}

void CFulfillPerformanceRequest::SetNavigator(Navigator navigator)
{
    std::lock_guard lock(m_lock);
    m_navigator = std::move(navigator);
}

std::string CFulfillPerformanceRequest::Body(const std::string& token, std::int32_t performanceID)
{
    return "user=" + FormValue(token) + "&PerformanceID=" + std::to_string(performanceID) +
           "&FulfillmentTypeID=1&App=Tessarin";
}

HRESULT CFulfillPerformanceRequest::Fulfill(const std::string& token, std::int32_t performanceID)
{
    return Post(Body(token, performanceID), 0, 0);
}

void CFulfillPerformanceRequest::ParseAnswer(const std::string& answer, std::int32_t, std::int32_t)
{
    const XmlDocumentPtr document = LoadAnswerDocument(answer);
    if (!document)
        return;
    const CXmlNode* url = FirstElementNamed(*document, u"URL");
    if (!url)
        return;
    Navigator navigator;
    {
        std::lock_guard lock(m_lock);
        navigator = m_navigator;
    }
    // The browser lives on the user-interface thread; the copy outlives this request.
    if (navigator)
        PostToUiThread([navigator, text = ElementString(*url)] { navigator(text); });
}
