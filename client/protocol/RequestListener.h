#pragma once
// Observer of a server request's outcome, told on the user-interface thread.
#include "platform/Result.h"

#include <cstdint>

class CServerRequest;

class IRequestListener {
public:
    /// The exchange succeeded and the answer hook has run.
    virtual void OnRequestCompleted(CServerRequest* request, std::int32_t value1, std::int32_t value2) = 0;
    /// The exchange failed with result (negative).
    virtual void OnRequestFailed(CServerRequest* request, HRESULT result, std::int32_t value1, std::int32_t value2) = 0;

protected:
    ~IRequestListener() = default;
};
