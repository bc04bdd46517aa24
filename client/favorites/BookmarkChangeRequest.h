#pragma once
// What the add, delete and move requests share: each post carries one
// favorites operation, and the answer is written into that operation.
#include "client/favorites/BookmarkOperation.h"
#include "client/protocol/SummaryRequest.h"

#include <map>
#include <mutex>
#include <string_view>

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

    void NotifyFailed(const FailureRecord& record) override;
    void ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t value2) override;

protected:
    CBookmarkChangeRequest(const char* page, const char16_t* successElement);

    /// Posts body with value 1 = the operation's identifier. The operation must
    /// live until its completion or failure has been delivered.
    HRESULT PostOperation(CBookmarkOperation& operation, const std::string& body);
    /// Reads a success answer into the operation; true when it succeeded.
    virtual bool ReadSuccess(const CXmlDocument& document, CBookmarkOperation& operation) const;

private:
    const char16_t* m_successElement;
    mutable std::mutex m_lock;
    std::map<std::uint32_t, CBookmarkOperation*> m_carried;
};
