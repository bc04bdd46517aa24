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
    }
    operation.state = kOperationSent;
    return Post(body, static_cast<std::int32_t>(operation.identifier), 0);
}

void CBookmarkChangeRequest::NotifyFailed(const FailureRecord& record)
{
    Forget(static_cast<std::uint32_t>(record.value1));
    CSummaryRequest::NotifyFailed(record);
}

bool CBookmarkChangeRequest::ReadSuccess(const CXmlDocument& document, CBookmarkOperation&) const
{
    return FirstElementNamed(document, m_successElement) != nullptr;
}

void CBookmarkChangeRequest::ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t)
{
    CBookmarkOperation* operation = nullptr;
    {
        // Taken out at once: one answer per operation.
        std::lock_guard lock(m_lock);
        const auto found = m_carried.find(static_cast<std::uint32_t>(value1));
        if (found == m_carried.end())
            return;
        operation = found->second;
        m_carried.erase(found);
    }
    operation->state = kOperationAnswered;
    const XmlDocumentPtr document = LoadAnswerDocument(answer);
    if (!document)
        return;
    if (ReadSuccess(*document, *operation)) {
        operation->success = true;
        return;
    }
    const CXmlNode* error = FirstElementNamed(*document, u"Error");
    operation->errorText = error ? ElementString(*error) : kUnspecifiedError;
    operation->success = false;
}
