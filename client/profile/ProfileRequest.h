#pragma once
// "UpdateProfileXML.jsp": fetches the member's profile document and sends the
// edited document back. Both exchanges are synchronous.
#include <cstdint>
#include <string>

#include "client/protocol/ServerRequest.h"
#include "client/xml/XmlDocument.h"

class CProfileRequest : public CServerRequest {
public:
    CProfileRequest();
    ~CProfileRequest() override;

    /// Releases the current document and fetches a new one. nullptr when the
    /// exchange failed (its answer text is then shown) or the answer is no
    /// document. The request keeps the document.
    CXmlDocument* Fetch(const std::string& token);
    /// Sends the current document back. True when the server's answer holds
    /// "OK"; another answer is shown and gives false. Without a document
    /// nothing is sent.
    bool Update(const std::string& token);

    CXmlDocument* Document() const { return m_document.get(); }

    static std::string FetchBody(const std::string& token);
    static std::string UpdateBody(const std::string& token, const std::string& documentText);

protected:
    void ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t value2) override;

private:
    XmlDocumentPtr m_document;
};
