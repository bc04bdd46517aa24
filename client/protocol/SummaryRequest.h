#pragma once
// The base of the requests whose answers carry summary records.
#include "client/protocol/ServerRequest.h"

class CSummaryRequest : public CServerRequest {
public:
    CSummaryRequest() = default;
};
