#include "client/catalogue/TablesToXMLRequest.h"

#include "client/catalogue/LookupTables.h"

CTablesToXMLRequest::CTablesToXMLRequest()
{
    SetPage("TablesToXML.jsp", false);
}

CTablesToXMLRequest::~CTablesToXMLRequest()
{
    CancelPendingJobs();
}

HRESULT CTablesToXMLRequest::Fetch(CLookupTables* tables)
{
    m_tables = tables;
    return Post(std::string(), 0, 0);
}

void CTablesToXMLRequest::ParseAnswer(const std::string& answer, std::int32_t, std::int32_t)
{
    // Load builds the new tables aside and swaps them in whole.
    if (CLookupTables* tables = m_tables.load())
        tables->Load(answer, true);
}
