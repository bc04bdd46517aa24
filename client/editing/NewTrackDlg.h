#pragma once
// "New Track": the track of a chosen artist, picked among the catalogue's
// tracks of a similar title or added to the catalogue as a new track.
#include "client/catalogue/PerformanceSummary.h"
#include "client/editing/NewCatalogueItemDlg.h"
#include "client/protocol/RequestListener.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CSearchForPerformancesRequest;
class CUpdatePerformanceRequest;
class QLabel;

class CNewTrackDlg : public CNewCatalogueItemDlg, private IRequestListener {
public:
    /// The services' session gives the token of a new track.
    explicit CNewTrackDlg(const PaneServices& services, QWidget* parent = nullptr);
    ~CNewTrackDlg() override;

    void SetArtistName(const std::string& name);
    void SetArtistID(std::int32_t artistID) { m_artistID = artistID; }
    void SetTrackName(const std::string& name);

    /// After OK: the chosen or new track.
    const PerformanceSummary& Result() const { return m_result; }

protected:
    void StartLookup() override;
    bool TakeSelected(const CItemRef& item) override;
    bool SendNewItem(const std::string& name) override;

private:
    void OnRequestCompleted(CServerRequest* request, std::int32_t value1, std::int32_t value2) override;
    void OnRequestFailed(CServerRequest* request, HRESULT result, std::int32_t value1, std::int32_t value2) override;

    QLabel* m_artist;
    std::string m_artistName;
    std::int32_t m_artistID = 0;
    std::string m_trackName;
    PerformanceSummary m_result;
    PerformanceSummary m_sent;
    std::int32_t m_key = -1;
    std::vector<std::unique_ptr<PerformanceSummary>> m_tracks;  // the list's rows refer to them
    std::unique_ptr<CSearchForPerformancesRequest> m_search;
    std::unique_ptr<CUpdatePerformanceRequest> m_create;
};
