#pragma once
// Observer of the search controller, told on the user-interface thread.
#include <cstdint>
#include <string>

class ISearchListener {
public:
    virtual void OnSearchAdded(std::int32_t index) = 0;
    /// The first answer of that search is in: its results and identifiers.
    virtual void OnSearchAnswered(std::int32_t index) = 0;
    /// A further page arrived; results from firstNew on are new.
    virtual void OnResultsAppended(std::int32_t index, std::int32_t firstNew) = 0;
    /// 1 while any search is outstanding, 0 once none is.
    virtual void OnSearchBusy(std::int32_t busy) = 0;
    virtual void OnSearchGroupStarted(const std::string& title) = 0;
    virtual void OnSearchGroupEnded() = 0;
    /// A further page of that search did not arrive; asking again asks for
    /// the same identifiers.
    virtual void OnPageFailed(std::int32_t index) = 0;

protected:
    ~ISearchListener() = default;
};

/// A listener that hears only whether searches are outstanding.
class ISearchBusyListener : public ISearchListener {
public:
    void OnSearchAdded(std::int32_t) override {}
    void OnSearchAnswered(std::int32_t) override {}
    void OnResultsAppended(std::int32_t, std::int32_t) override {}
    void OnSearchGroupStarted(const std::string&) override {}
    void OnSearchGroupEnded() override {}
    void OnPageFailed(std::int32_t) override {}

protected:
    ~ISearchBusyListener() = default;
};
