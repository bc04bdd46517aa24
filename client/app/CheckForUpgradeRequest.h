#pragma once
// "CheckForUpgrade.jsp": asks whether a newer version than ours exists. The
// answer hook runs on a worker thread; the fields are read on the
// user-interface thread, so both go through one lock.
#include <cstdint>
#include <string>

#include "client/protocol/ServerRequest.h"
#include "client/resources/StringTable.h"
#include "platform/Threading.h"

/// The product web site, also the download address when the server names none.
inline const char* const kProductWebSite = LoadResourceString(IDS_PRODUCT_WEB_SITE);

class CCheckForUpgradeRequest : public CServerRequest {
public:
    CCheckForUpgradeRequest();
    ~CCheckForUpgradeRequest() override;

    /// Posts "version=<version>"; listeners hear of the outcome.
    HRESULT Check(const std::string& version);

    /// The "Check for Upgrade" command: true when an answer is already known and
    /// the status can be shown from it; otherwise asks the server again.
    bool CheckOnDemand(const std::string& version);

    /// Set by the first answer holding "UpgradeAvailable"; never cleared.
    bool Answered() const;
    /// Set when an answer reported a newer version; never cleared.
    bool UpgradeAvailable() const;
    /// Set by an unreadable answer, cleared by a readable one.
    bool LastAnswerFailed() const;
    std::string NewVersion() const;
    std::string DownloadUrl() const;
    /// Completion rule: after an answer the status window opens only when the
    /// answer was readable and a newer version is known.
    bool ShowStatusOnCompletion() const;
    /// What "Yes" opens: DownloadURL, or the product web site when it is empty.
    std::string DownloadAddress() const;
    /// Marks the start-up check; its failures are silent.
    bool IsAutomatic() const { return true; }

    static std::string CheckBody(const std::string& version);

protected:
    void ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t value2) override;

private:
    mutable CCriticalSection m_lock;
    bool m_answered = false;
    bool m_upgradeAvailable = false;
    bool m_failed = false;
    std::string m_newVersion;
    std::string m_downloadUrl;
};
