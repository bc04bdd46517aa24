#include "client/catalogue/LookupTablesModel.h"

CLookupTablesModel::CLookupTablesModel()
{
    m_tables.LoadDefaults();
    m_request.AddListener(this);
}

CLookupTablesModel::~CLookupTablesModel()
{
    m_request.RemoveListener(this);
}

HRESULT CLookupTablesModel::Fetch()
{
    return m_request.Fetch(&m_tables);
}

void CLookupTablesModel::OnRequestCompleted(CServerRequest*, std::int32_t, std::int32_t)
{
    m_listeners.ForEach([](ITablesListener* listener) { listener->OnTablesChanged(); });
}
