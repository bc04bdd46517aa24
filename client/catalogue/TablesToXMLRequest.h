#pragma once
// "TablesToXML.jsp": the server's current lookup tables, replacing the
// built-in ones when the answer arrives.
#include "client/protocol/ServerRequest.h"

#include <atomic>

class CLookupTables;

class CTablesToXMLRequest : public CServerRequest {
public:
    CTablesToXMLRequest();
    ~CTablesToXMLRequest() override;

    /// Remembers tables (not owned; must outlive the exchange) and posts an
    /// empty body; listeners hear when the tables have been replaced.
    HRESULT Fetch(CLookupTables* tables);

    /// Replaces the tables with the answer's. An answer that is not a document
    /// leaves them as they were.
    void ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t value2) override;

private:
    std::atomic<CLookupTables*> m_tables{nullptr};
};
