#pragma once
// Told of every login (the member's handle and the new token) and logout
// (two empty texts), on the user-interface thread.
#include <string>

class ISessionListener {
public:
    virtual void OnSessionChanged(const std::string& handle, const std::string& token) = 0;

protected:
    ~ISessionListener() = default;
};
