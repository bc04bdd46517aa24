#include "client/favorites/BookmarkChangeRequest.h"

#include "client/catalogue/AnswerXml.h"

CBookmarkChangeRequest::CBookmarkChangeRequest(const char* page, const char16_t* successElement)
    : m_successElement(successElement)
{
    SetPage(page, false);
}

CBookmarkChangeRequest::~CBookmarkChangeRequest()
{
    CancelPendingJobs();
}

void CBookmarkChangeRequest::Forget(std::uint32_t operationIdentifier)
{
    std::lock_guard lock(m_lock);
    m_carried.erase(operationIdentifier);
    m_outcomes.erase(operationIdentifier);
}

std::size_t CBookmarkChangeRequest::CarriedCount() const
{
    std::lock_guard lock(m_lock);
    return m_carried.size();
}

HRESULT CBookmarkChangeRequest::PostOperation(CBookmarkOperation& operation, const std::string& body)
{
    {
        std::lock_guard lock(m_lock);
        m_carried[operation.identifier] = &operation;
        m_outcomes.erase(operation.identifier);
    }
    operation.state = kOperationSent;
    return Post(body, static_cast<std::int32_t>(operation.identifier), 0);
}

bool CBookmarkChangeRequest::ReadSuccess(const CXmlDocument& document, Outcome&) const
{
    return FirstElementNamed(document, m_successElement) != nullptr;
}

void CBookmarkChangeRequest::ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t)
{
    const auto identifier = static_cast<std::uint32_t>(value1);
    {
        std::lock_guard lock(m_lock);
        if (m_carried.count(identifier) == 0)
            return;
    }
    Outcome outcome;
    if (const XmlDocumentPtr document = LoadAnswerDocument(answer)) {
        outcome.loaded = true;
        outcome.success = ReadSuccess(*document, outcome);
        if (!outcome.success) {
            const CXmlNode* error = FirstElementNamed(*document, u"Error");
            outcome.errorText = error ? ElementString(*error) : kUnspecifiedError;
        }
    }
    std::lock_guard lock(m_lock);
    m_outcomes[identifier] = std::move(outcome);
}

void CBookmarkChangeRequest::NotifyCompleted(std::int32_t value1, std::int32_t value2)
{
    const auto identifier = static_cast<std::uint32_t>(value1);
    CBookmarkOperation* operation = nullptr;
    Outcome outcome;
    {
        std::lock_guard lock(m_lock);
        if (const auto found = m_carried.find(identifier); found != m_carried.end()) {
            operation = found->second;
            m_carried.erase(found);
        }
        if (const auto found = m_outcomes.find(identifier); found != m_outcomes.end()) {
            outcome = std::move(found->second);
            m_outcomes.erase(found);
        }
    }
    if (operation) {
        operation->state = kOperationAnswered;
        // An answer that is not a document leaves the success flag as it was.
        if (outcome.loaded) {
            operation->success = outcome.success;
            operation->errorText = outcome.errorText;
            // Through the item references, so the favorites' own records change.
            for (std::size_t i = 0; i < outcome.bookmarkIDs.size() && i < operation->items.size(); ++i)
                operation->items[i]->SetBookmarkID(outcome.bookmarkIDs[i]);
        }
    }
    CSummaryRequest::NotifyCompleted(value1, value2);
}

void CBookmarkChangeRequest::NotifyFailed(const FailureRecord& record)
{
    Forget(static_cast<std::uint32_t>(record.value1));
    CSummaryRequest::NotifyFailed(record);
}
