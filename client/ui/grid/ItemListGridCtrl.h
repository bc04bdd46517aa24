#pragma once
// A one-column list of playlists, playmakers, artists and tracks, a picture per
// kind. Each added row's item data is a new CItemRef to the record, owned by
// the list and deleted with its row (whichever way the row goes). A pane may
// put data of its own into a row (SetItemData); that data stays its own.
#include "client/catalogue/ItemRef.h"
#include "client/ui/grid/GridCtrl.h"

#include <vector>

struct ArtistSummary;
struct PerformanceSummary;
struct PlaylistDetail;
struct PlaylistSummary;
struct UserSummary;

/// The drag marker format, and the number an item list's drag carries under it.
inline constexpr const char* kItemListDragFormat = "com.velmar.data";
inline constexpr int kItemListDragValue = 4;

class CItemListGridCtrl : public CGridCtrl {
    Q_OBJECT
public:
    explicit CItemListGridCtrl(QWidget* parent = nullptr);
    ~CItemListGridCtrl() override;

    /// No header, one column 7200 twips wide, whole-row selection (several rows
    /// at once), a flat single border; dropped files and data are taken and
    /// ignored.
    virtual void SetupColumns();

    /// While set (the default) each added row is an outline node, at level 1
    /// when the grid shows an outline.
    void SetOutlineFlag(bool on) { m_outline = on; }
    bool OutlineFlag() const { return m_outline; }

    /// "Name by Handle", bitmap 161.
    CGridRowItem* AddPlaylist(PlaylistDetail& playlist, CGridRowItem* group = nullptr);
    CGridRowItem* AddPlaylistSummary(PlaylistSummary& playlist, CGridRowItem* group = nullptr);
    /// The handle, bitmap 163.
    CGridRowItem* AddPlaymaker(UserSummary& user, CGridRowItem* group = nullptr);
    /// The artist's name, bitmap 160.
    CGridRowItem* AddArtist(ArtistSummary& artist, CGridRowItem* group = nullptr);
    /// "Artist : Song (Version)", bitmap 162.
    CGridRowItem* AddPerformance(PerformanceSummary& performance, CGridRowItem* group = nullptr);

    /// The item reference the list made for a row; nullptr for a row without
    /// one (a group row, a text row, a row with data of the pane's own).
    static CItemRef* ItemRefOf(const CGridRowItem* item);
    CItemRef* GetItemRef(int index) const { return ItemRefOf(GetRowItem(index)); }
    /// The rows whose item reference refers to record, in grid order.
    std::vector<int> RowsOfRecord(const void* record) const;

protected:
    void OnBeforeRButtonDown(int x, int y, int index, int column, CGridRowItem* item, bool& cancel) override;
    void ReleaseOwnedData(void* owned) override;
    void ReleaseAllOwnedData() override;

private:
    template <class Record>
    CGridRowItem* AddItemRow(const std::string& text, unsigned bitmap, Record& record, CGridRowItem* group);

    bool m_outline = true;
    CSlabPool<CItemRef> m_refs;
    // Record -> the references of this list that refer to it.
    CPointerIndex<CItemRef> m_byRecord;
};
