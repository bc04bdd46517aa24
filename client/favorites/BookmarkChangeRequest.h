#pragma once
// What the add, delete and move requests share: each post carries one
// favorites operation, and the answer is written into that operation. The
// hook only reads the answer; the operation and its records are written on
// the user-interface thread, just before the listeners are told.
#include "client/favorites/BookmarkOperation.h"
#include "client/protocol/SummaryRequest.h"

#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class CXmlDocument;

/// The error text of a refused change without an "Error" element.
inline constexpr const char* kUnspecifiedError = "Unspecified Error";

class CBookmarkChangeRequest : public CSummaryRequest {
public:
    ~CBookmarkChangeRequest() override;

    /// The answer of that operation is to be ignored (the model dropped it).
    void Forget(std::uint32_t operationIdentifier);
    /// Operations posted whose answer has not been read yet.
    std::size_t CarriedCount() const;

    void NotifyCompleted(std::int32_t value1, std::int32_t value2) override;
    void NotifyFailed(const FailureRecord& record) override;
    void ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t value2) override;

protected:
    /// What an answer said, read on the worker thread.
    struct Outcome {
        bool loaded = false;
        bool success = false;
        std::string errorText;
        std::vector<std::int32_t> bookmarkIDs;  // given to the items in order
    };

    CBookmarkChangeRequest(const char* page, const char16_t* successElement);

    /// Posts body with value 1 = the operation's identifier. The operation must
    /// live until its completion or failure has been delivered.
    HRESULT PostOperation(CBookmarkOperation& operation, const std::string& body);
    /// Whether the answer reports success; may add to the outcome.
    virtual bool ReadSuccess(const CXmlDocument& document, Outcome& outcome) const;

private:
    const char16_t* m_successElement;
    mutable std::mutex m_lock;
    std::map<std::uint32_t, CBookmarkOperation*> m_carried;
    std::map<std::uint32_t, Outcome> m_outcomes;
};
