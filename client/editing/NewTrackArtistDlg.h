#pragma once
// "New Track - Artist": the artist of a track about to be added to the
// catalogue, chosen among the catalogue's artists of a similar name or added
// as a new artist.
#include "client/catalogue/ArtistSummary.h"
#include "client/editing/NewCatalogueItemDlg.h"
#include "client/protocol/RequestListener.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CResolveArtistsRequest;
class CUpdateArtistRequest;

class CNewTrackArtistDlg : public CNewCatalogueItemDlg, private IRequestListener {
public:
    /// The services' session gives the token of a new artist.
    explicit CNewTrackArtistDlg(const PaneServices& services, QWidget* parent = nullptr);
    ~CNewTrackArtistDlg() override;

    /// The name typed for the track; the lookup asks for it.
    void SetArtistName(const std::string& name);

    /// After OK: the chosen or new artist.
    const std::string& ResultName() const { return m_resultName; }
    std::int32_t ResultArtistID() const { return m_resultID; }

protected:
    void StartLookup() override;
    bool TakeSelected(const CItemRef& item) override;
    bool SendNewItem(const std::string& name) override;

private:
    void OnRequestCompleted(CServerRequest* request, std::int32_t value1, std::int32_t value2) override;
    void OnRequestFailed(CServerRequest* request, HRESULT result, std::int32_t value1, std::int32_t value2) override;

    std::string m_artistName;
    std::string m_newName;
    std::string m_resultName;
    std::int32_t m_resultID = 0;
    std::int32_t m_key = -1;
    std::vector<std::unique_ptr<ArtistSummary>> m_artists;  // the list's rows refer to them
    std::unique_ptr<CResolveArtistsRequest> m_lookup;
    std::unique_ptr<CUpdateArtistRequest> m_create;
};
