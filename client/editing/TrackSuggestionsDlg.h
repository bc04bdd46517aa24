#pragma once
// "Track Suggestions": the catalogue's candidates for a typed title and
// artist, one to choose, or a new track (and if need be a new artist) added
// to the catalogue through the New Track dialogs.
#include "client/catalogue/PerformanceSummary.h"
#include "client/ui/grid/GridListener.h"
#include "client/ui/shell/PaneServices.h"

#include <QDialog>
#include <QSize>

#include <string>
#include <vector>

class CGridCtrl;
class QLabel;
class QPushButton;

class CTrackSuggestionsDlg : public QDialog, private IGridListener {
public:
    /// The services' previews and session are used when present.
    explicit CTrackSuggestionsDlg(const PaneServices& services, QWidget* parent = nullptr);
    ~CTrackSuggestionsDlg() override;

    void SetArtistName(const std::string& artist) { m_artist = artist; }
    void SetTitle(const std::string& title) { m_title = title; }
    /// The candidates in the server's order; the dialog shows its own copies.
    void SetCandidates(std::vector<PerformanceSummary> candidates);

    /// After OK: the chosen candidate or the track made through the New Track
    /// dialogs; valid while the dialog lives. nullptr before.
    const PerformanceSummary* Result() const { return m_result; }

    CGridCtrl* Grid() const { return m_grid; }
    QPushButton* OkButton() const { return m_ok; }

    /// OK takes the selected candidate; without one nothing happens.
    void accept() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FillGrid();
    void OnSelectionChanged();
    void OnAddNewTrack();
    /// The candidate of a grid row; nullptr for none.
    const PerformanceSummary* CandidateAt(int index) const;

    // IGridListener
    void OnItemClicked(CGridRowItem*) override {}
    void OnContextRequest(CGridRowItem*, int, int) override {}
    void OnCellClicked(int index, int column) override;

    PaneServices m_services;
    std::string m_artist;
    std::string m_title;
    std::vector<PerformanceSummary> m_candidates;
    PerformanceSummary m_made;
    const PerformanceSummary* m_result = nullptr;
    CGridCtrl* m_grid;
    QLabel* m_text;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QPushButton* m_addNew;
    // Distances kept on resize: the grid's right and bottom margins, the OK and
    // Cancel buttons' from the right edge, "Add New Track" from the bottom.
    int m_gridRight = 0;
    int m_gridBottom = 0;
    int m_okRight = 0;
    int m_addNewBottom = 0;
};
