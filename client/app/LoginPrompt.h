#pragma once
// The Login dialog as the session sees it. The user interface implements it;
// the dialog's OK runs CUserLoginRequest::Login itself and closes only on success.
#include <cstdint>
#include <string>

class CUserLoginRequest;

struct LoginDialogResult {
    std::string handle;
    std::string password;
    std::string token;
    std::int32_t userId = 0;
    bool saveLogin = false;  // "Save login information"
};

class ILoginPrompt {
public:
    /// Runs the dialog modally with the login request to use; true on OK.
    virtual bool RunLoginDialog(CUserLoginRequest& request, LoginDialogResult& result) = 0;

protected:
    ~ILoginPrompt() = default;
};
