#pragma once
// "CreateUser.jsp" over https: signs a new member up. Its answer reads like a
// login answer (token, user identifier, exception text).
#include <cstdint>
#include <string>

#include "client/app/UserLoginRequest.h"

struct NewUserEntries {
    std::string handle;
    std::string password;
    std::string email;
    std::string verifyQuestion;
    std::string answer;
    std::int32_t referral = 0;
    bool corvantaMail = true;    // "I want to receive email from Corvanta"
    bool thirdPartyMail = true;  // "... from Corvanta's partners"
};

class CCreateUserRequest : public CUserLoginRequest {
public:
    CCreateUserRequest();

    /// Sends the entries synchronously. E_FAIL when the exchange failed or no
    /// token came back; the server's text (or the raw answer) is then shown
    /// under "Error Creating User" when there is one.
    HRESULT Create(const NewUserEntries& entries);

    static std::string CreateBody(const NewUserEntries& entries);
};
