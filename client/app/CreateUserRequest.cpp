#include "client/app/CreateUserRequest.h"

#include "platform/MessageBox.h"
#include "platform/Url.h"

CCreateUserRequest::CCreateUserRequest()
{
    SetPage("CreateUser.jsp", true);
}

std::string CCreateUserRequest::CreateBody(const NewUserEntries& entries)
{
    return "App=Tessarin&Action=submit&UserHandle=" + FormValue(entries.handle) +
           "&PWD=" + FormValue(entries.password) + "&Email=" + FormValue(entries.email) +
           "&VerifyQuestion=" + EncodedFormValue(entries.verifyQuestion) +
           "&Answer=" + EncodedFormValue(entries.answer) + "&Referal=" + std::to_string(entries.referral) +
           "&CorvantaEmail=" + (entries.corvantaMail ? "true" : "false") +
           "&ThirdPartyEmail=" + (entries.thirdPartyMail ? "true" : "false");
}

HRESULT CCreateUserRequest::Create(const NewUserEntries& entries)
{
    ResetResults();
    std::string answer;
    const HRESULT hr = Execute(CreateBody(entries), answer);
    if (Succeeded(hr) && !Token().empty())
        return hr;
    std::string text = ExceptionText();
    if (text.empty())
        text = answer;
    if (!text.empty())
        ShowMessageBox(text, "Error Creating User", kMbOk);
    return E_FAIL;
}
