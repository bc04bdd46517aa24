#pragma once
// "fulfill/fulfillperformance.jsp": the preview of one track. The answer's URL
// is handed to the preview browser on the user-interface thread.
#include "client/protocol/SummaryRequest.h"

#include <functional>
#include <mutex>
#include <string>

class CFulfillPerformanceRequest : public CSummaryRequest {
public:
    using Navigator = std::function<void(const std::string& url)>;

    CFulfillPerformanceRequest();
    ~CFulfillPerformanceRequest() override;

    /// Where preview URLs go; called on the user-interface thread, before the
    /// completion of the answer that carried the URL is delivered.
    void SetNavigator(Navigator navigator);

    HRESULT Fulfill(const std::string& token, std::int32_t performanceID);
    static std::string Body(const std::string& token, std::int32_t performanceID);

    void ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t value2) override;

private:
    std::mutex m_lock;
    Navigator m_navigator;
};
