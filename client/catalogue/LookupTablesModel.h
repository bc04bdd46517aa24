#pragma once
// The program's one set of lookup tables: built-in defaults at once, the
// server's tables when their answer arrives, and the objects that rebuild
// their lists when that happens. The application object holds one.
#include "client/catalogue/LookupTables.h"
#include "client/catalogue/TablesToXMLRequest.h"
#include "client/protocol/GuardedList.h"
#include "client/protocol/RequestListener.h"

class ITablesListener {
public:
    /// The tables were replaced; called on the user-interface thread.
    virtual void OnTablesChanged() = 0;

protected:
    ~ITablesListener() = default;
};

class CLookupTablesModel : private IRequestListener {
public:
    /// Holds the defaults from construction on.
    CLookupTablesModel();
    ~CLookupTablesModel();

    /// Asks the server for its tables (once per run).
    HRESULT Fetch();

    const CLookupTables& Tables() const { return m_tables; }
    void AddTablesListener(ITablesListener* listener) { m_listeners.Add(listener); }
    void RemoveTablesListener(ITablesListener* listener) { m_listeners.Remove(listener); }

private:
    void OnRequestCompleted(CServerRequest* request, std::int32_t value1, std::int32_t value2) override;
    // A failed fetch keeps what the tables hold and tells nobody.
    void OnRequestFailed(CServerRequest*, HRESULT, std::int32_t, std::int32_t) override {}

    CLookupTables m_tables;
    CTablesToXMLRequest m_request;
    CGuardedList<ITablesListener*> m_listeners;
};
