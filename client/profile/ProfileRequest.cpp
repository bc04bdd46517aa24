#include "client/profile/ProfileRequest.h"

#include "client/xml/XmlDocumentWrapper.h"
#include "client/xml/XmlText.h"
#include "client/xml/XmlWriter.h"
#include "platform/MessageBox.h"
#include "platform/Url.h"
#include "platform/Utf.h"

namespace {

// value1 of the fetch exchange: only its answer becomes the document.
constexpr std::int32_t kFetchExchange = 1;

}  // namespace

CProfileRequest::CProfileRequest()
{
    SetPage("UpdateProfileXML.jsp", false);
}

CProfileRequest::~CProfileRequest()
{
    CancelPendingJobs();
}

std::string CProfileRequest::FetchBody(const std::string& token)
{
    return "UserToken=" + FormValue(token);
}

std::string CProfileRequest::UpdateBody(const std::string& token, const std::string& documentText)
{
    // The document travels form-encoded: "&amp;" or a '+' in a profile would
    // otherwise split or change the value on the server.
    return "UserToken=" + FormValue(token) + "&Action=Update&UserXML=" + FormValue(documentText);
}

CXmlDocument* CProfileRequest::Fetch(const std::string& token)
{
    m_document.reset();
    std::string answer;
    const HRESULT hr = Execute(FetchBody(token), answer, kFetchExchange, 0);
    if (Failed(hr)) {
        ShowMessageBox(answer, "Error", kMbOk);
        return nullptr;
    }
    return m_document.get();
}

bool CProfileRequest::Update(const std::string& token)
{
    if (!m_document)
        return false;
    const std::string text = Utf16ToUtf8(WriteXmlDocument(m_document.get()));
    std::string answer;
    if (Failed(Execute(UpdateBody(token, text), answer)))
        return false;
    if (answer.find("OK") != std::string::npos)
        return true;
    ShowMessageBox(answer, "Error", kMbOk);
    return false;
}

void CProfileRequest::ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t)
{
    if (value1 == kFetchExchange)
        m_document = LoadXmlFromText(answer);
}
