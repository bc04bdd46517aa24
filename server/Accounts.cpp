#include "server/Accounts.h"

#include "platform/Text.h"
#include "server/Database.h"
#include "server/FormFields.h"
#include "server/LookupTables.h"
#include "server/ObjectNotation.h"
#include "server/PasswordHash.h"
#include "server/ProfileDocument.h"
#include "server/XmlWriter.h"

#include <openssl/crypto.h>
#include <pugixml.hpp>

#include <cctype>

namespace corvanta::server {

namespace {

// Runs of the expensive hash for handles that do not exist, so a wrong handle
// takes as long as a wrong password.
const std::string& DummyHash(int iterations)
{
    static const std::string hash = CPasswordHash::Hash("corvanta", iterations);
    return hash;
}

bool ValidDate(const std::string& text)
{
    // MM/DD/YYYY, as the profile pages write it.
    if (text.size() != 10 || text[2] != '/' || text[5] != '/')
        return false;
    for (size_t i : {0u, 1u, 3u, 4u, 6u, 7u, 8u, 9u})
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
    int month = std::stoi(text.substr(0, 2)), day = std::stoi(text.substr(3, 2)), year = std::stoi(text.substr(6));
    static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1] || year < 1800)
        return false;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return !(month == 2 && day == 29 && !leap);
}

}  // namespace

CAccounts::CAccounts(CDatabase& db, Clock clock, int pbkdf2Iterations)
    : m_db(db), m_clock(std::move(clock)), m_iterations(pbkdf2Iterations < 1 ? 1 : pbkdf2Iterations),
      m_throttle(m_clock)
{
}

LoginResult CAccounts::OpenSession(int64_t userId)
{
    auto db = m_db.Acquire();
    int64_t now = m_clock();
    std::string secret = CPasswordHash::RandomHex(24);
    db->Prepare("DELETE FROM sessions WHERE last_used < ?1").Bind(1, now - kSessionIdleLimit).Run();
    db->Prepare("INSERT INTO sessions(secret, user_id, created, last_used) VALUES (?1, ?2, ?3, ?3)")
        .Bind(1, secret)
        .Bind(2, userId)
        .Bind(3, now)
        .Run();
    LoginResult result;
    result.ok = true;
    result.userId = userId;
    result.token = secret + ":" + std::to_string(db->LastInsertId());
    db->Prepare("DELETE FROM sessions WHERE user_id = ?1 AND id NOT IN "
                "(SELECT id FROM sessions WHERE user_id = ?1 ORDER BY id DESC LIMIT ?2)")
        .Bind(1, userId)
        .Bind(2, kSessionsPerMember)
        .Run();
    return result;
}

LoginResult CAccounts::Login(const std::string& handle, const std::string& password, const std::string& prevSession,
                             const std::string& peer)
{
    LoginResult result;
    // Handles match ignoring case, so their failures count together.
    std::string member = handle.substr(0, kMaxHandle);
    for (char& c : member)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (int64_t wait = m_throttle.Admit(member, peer)) {
        result.error = "Too many failed logins, please try again in " + std::to_string(wait) +
                       (wait == 1 ? " second" : " seconds");
        result.throttled = true;
        return result;
    }
    // Every admitted attempt is reported, also when the check throws.
    struct Outcome {
        CLoginThrottle& throttle;
        const std::string& member;
        const std::string& peer;
        bool ok = false;
        ~Outcome() { ok ? throttle.Succeeded(member, peer) : throttle.Failed(member, peer); }
    } outcome{m_throttle, member, peer};

    int64_t userId = 0;
    std::string stored;
    if (handle.size() <= kMaxHandle) {
        auto db = m_db.Acquire();
        CQuery query = db->Prepare("SELECT id, password_hash FROM users WHERE handle = ?1 COLLATE NOCASE");
        query.Bind(1, handle);
        if (query.Step()) {
            userId = query.Int(0);
            stored = query.Text(1);
        }
    }
    // No stored password is longer than sign-up allows: such a guess fails unhashed.
    bool ok = password.size() <= kMaxPassword &&
              (userId != 0 ? CPasswordHash::Verify(password, stored)
                           : (CPasswordHash::Verify(password, DummyHash(m_iterations)), false));
    if (!ok) {
        result.error = "Invalid login name or password";
        return result;
    }
    outcome.ok = true;
    int64_t previous = CFormFields::ToInt(prevSession);
    if (previous > 0) {
        // Only the member's own earlier session may be closed this way.
        auto db = m_db.Acquire();
        db->Prepare("DELETE FROM sessions WHERE id = ?1 AND user_id = ?2").Bind(1, previous).Bind(2, userId).Run();
    }
    return OpenSession(userId);
}

LoginResult CAccounts::Create(const NewMember& member)
{
    LoginResult result;
    std::string handle = TrimBlanks(member.handle);
    std::string email = TrimBlanks(member.email);
    if (handle.empty()) {
        result.error = "A login name is required";
        return result;
    }
    if (handle.size() > kMaxHandle || handle.find(':') != std::string::npos) {
        result.error = "The login name must be at most 25 characters and hold no colon";
        return result;
    }
    if (member.password.empty() || member.password.size() > kMaxPassword) {
        result.error = "The password must be 1 to 20 characters";
        return result;
    }
    if (email.empty() || email.find('@') == std::string::npos || email.size() > 100) {
        result.error = "A valid e-mail address is required";
        return result;
    }
    std::string hash = CPasswordHash::Hash(member.password, m_iterations);
    int64_t userId = 0;
    {
        auto db = m_db.Acquire();
        if (member.referral < 1 || !CLookupTables::Contains(*db, "HeardAboutSource", member.referral)) {
            result.error = "Please tell us where you heard about Corvanta";
            return result;
        }
        CTransaction transaction(*db);
        {
            CQuery exists = db->Prepare("SELECT 1 FROM users WHERE handle = ?1 COLLATE NOCASE");
            exists.Bind(1, handle);
            if (exists.Step()) {
                result.error = "The login name " + handle + " is already taken";
                return result;
            }
        }
        db->Prepare(
              "INSERT INTO users(handle, password_hash, email, verify_question, verify_answer, referral_id, own_mail, "
              "partner_mail, created, profile_xml) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)")
            .Bind(1, handle)
            .Bind(2, hash)
            .Bind(3, email)
            .Bind(4, member.verifyQuestion)
            .Bind(5, member.verifyAnswer)
            .Bind(6, member.referral)
            .Bind(7, member.ownMail ? 1 : 0)
            .Bind(8, member.partnerMail ? 1 : 0)
            .Bind(9, m_clock())
            .Bind(10, DefaultProfile(handle, email))
            .Run();
        userId = db->LastInsertId();
        transaction.Commit();
    }
    return OpenSession(userId);
}

void CAccounts::Logout(const std::string& token)
{
    if (!Validate(token))
        return;
    size_t colon = token.rfind(':');
    auto db = m_db.Acquire();
    db->Prepare("DELETE FROM sessions WHERE id = ?1").Bind(1, CFormFields::ToInt(token.substr(colon + 1))).Run();
}

std::optional<Member> CAccounts::Validate(const std::string& token)
{
    size_t colon = token.rfind(':');
    if (colon == std::string::npos || colon == 0)
        return std::nullopt;
    std::string secret = token.substr(0, colon);
    int64_t id = CFormFields::ToInt(token.substr(colon + 1));
    if (id <= 0)
        return std::nullopt;
    auto db = m_db.Acquire();
    int64_t now = m_clock();
    Member member;
    int64_t lastUsed = 0;
    {
        CQuery query =
            db->Prepare("SELECT s.secret, s.last_used, u.id, u.handle FROM sessions s JOIN users u ON u.id = s.user_id "
                        "WHERE s.id = ?1");
        query.Bind(1, id);
        if (!query.Step())
            return std::nullopt;
        std::string stored = query.Text(0);
        if (stored.size() != secret.size() || CRYPTO_memcmp(stored.data(), secret.data(), secret.size()) != 0)
            return std::nullopt;
        lastUsed = query.Int(1);
        member.userId = query.Int(2);
        member.handle = query.Text(3);
    }
    if (now - lastUsed > kSessionIdleLimit) {
        db->Prepare("DELETE FROM sessions WHERE id = ?1").Bind(1, id).Run();
        return std::nullopt;
    }
    // At most one write per session and second: the idle limit counts from the
    // last use to the second, and a burst of requests does not queue on writes.
    if (now > lastUsed)
        db->Prepare("UPDATE sessions SET last_used = ?1 WHERE id = ?2").Bind(1, now).Bind(2, id).Run();
    return member;
}

std::string CAccounts::DefaultProfile(const std::string& handle, const std::string& email)
{
    ProfileValues values;
    values.handle = handle;
    values.email = email;
    return ProfileDocument(values);
}

std::string CAccounts::ProfileXml(int64_t userId)
{
    auto db = m_db.Acquire();
    CQuery query = db->Prepare("SELECT handle, email, profile_xml FROM users WHERE id = ?1");
    query.Bind(1, userId);
    if (!query.Step())
        return {};
    std::string stored = query.Text(2);
    return stored.empty() ? DefaultProfile(query.Text(0), query.Text(1)) : stored;
}

std::string CAccounts::UpdateProfile(int64_t userId, const std::string& sent)
{
    // Stored as it came, but never with bytes that would make it unreadable later.
    const std::string xml = CXmlWriter::ValidUtf8(sent);
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = doc.load_buffer(xml.data(), xml.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed)
        return std::string("The profile document is not well-formed (") + parsed.description() + ")";
    pugi::xml_node user = FindObject(doc.document_element(), "com.velmar.orvane.data.User", nullptr);
    if (!user)
        return "The profile document holds no user object";
    std::string handle = TrimBlanks(ObjectText(FindObject(user, nullptr, "myHandle")));
    if (handle.empty() || handle.size() > 25 || handle.find(':') != std::string::npos)
        return "The profile needs a login name of at most 25 characters";
    std::string email = TrimBlanks(
        ObjectText(FindObject(FindObject(user, "com.velmar.orvane.data.Email", nullptr), nullptr, "myAddress")));
    if (email.empty() || email.find('@') == std::string::npos)
        return "The profile needs a valid e-mail address";
    std::string birthday = TrimBlanks(ObjectText(FindObject(user, nullptr, "myDOB")));
    if (!birthday.empty() && !ValidDate(birthday))
        return "Bad date, enter date as MM/DD/YYYY";

    auto db = m_db.Acquire();
    struct Coded {
        const char* member;
        const char* table;
    };
    for (Coded coded : {Coded{"mySex", "SexCode"}, Coded{"myMaritalStatus", "MaritalStatus"}}) {
        pugi::xml_node node = FindObject(user, nullptr, coded.member);
        if (node && node.attribute("myID") &&
            !CLookupTables::Contains(*db, coded.table, node.attribute("myID").as_llong(-1)))
            return std::string("Unknown ") + coded.table + " value";
    }
    CTransaction transaction(*db);
    {
        CQuery taken = db->Prepare("SELECT 1 FROM users WHERE handle = ?1 COLLATE NOCASE AND id <> ?2");
        taken.Bind(1, handle).Bind(2, userId);
        if (taken.Step())
            return "That login name is already taken";
    }
    db->Prepare("UPDATE users SET handle = ?1, email = ?2, profile_xml = ?3 WHERE id = ?4")
        .Bind(1, handle)
        .Bind(2, email)
        .Bind(3, xml)
        .Bind(4, userId)
        .Run();
    transaction.Commit();
    return {};
}

}  // namespace corvanta::server
