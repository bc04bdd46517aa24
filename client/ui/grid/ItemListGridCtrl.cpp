#include "client/ui/grid/ItemListGridCtrl.h"

#include "client/catalogue/ArtistSummary.h"
#include "client/catalogue/ItemRef.h"
#include "client/catalogue/PerformanceSummary.h"
#include "client/catalogue/PlaylistDetail.h"
#include "client/catalogue/PlaylistSummary.h"
#include "client/catalogue/UserSummary.h"
#include "client/resources/ResourceIds.h"

#include <QMimeData>
#include <QtEndian>

#include <algorithm>

CItemListGridCtrl::CItemListGridCtrl(QWidget* parent) : CGridCtrl(parent)
{
    connect(this, &CVSFlexGrid::OleStartDrag, this, [](QMimeData* mime) {
        const qint32 value = qToLittleEndian<qint32>(kItemListDragValue);
        mime->setData(QString::fromLatin1(kItemListDragFormat),
                      QByteArray(reinterpret_cast<const char*>(&value), sizeof value));
    });
}

CItemListGridCtrl::~CItemListGridCtrl()
{
    // The references go while this list can still free them.
    RemoveAll();
}

void CItemListGridCtrl::SetupColumns()
{
    Setup(false);
    SetCols(1);
    SetColWidthTwips(0, 7200);
    SetSelectionMode(SelectionMode::ListBox);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    SetOleDragMode(true);
    SetOleDropMode(true);
    SetAcceptFileDrops(true);
}

template <class Record>
CGridRowItem* CItemListGridCtrl::AddItemRow(const std::string& text, unsigned bitmap, Record& record,
                                            CGridRowItem* group)
{
    const int index = InsertRowWithItem(text, group ? GroupInsertIndex(group, -1) : -1);
    CItemRef* ref = m_refs.Make(&record);
    m_byRecord.Add(&record, ref);
    SetOwnedItemData(index, ref);
    SetCellBitmap(index, bitmap);
    if (m_outline) {
        SetIsSubtotal(WidgetRow(index), true);
        if (OutlineBar())
            SetRowOutlineLevel(WidgetRow(index), 1);
    }
    return GetRowItem(index);
}

CGridRowItem* CItemListGridCtrl::AddPlaylist(PlaylistDetail& playlist, CGridRowItem* group)
{
    return AddItemRow(playlist.Summary.Name + " by " + playlist.Summary.Playmaker.Handle, IDB_PLAYLIST, playlist,
                      group);
}

CGridRowItem* CItemListGridCtrl::AddPlaylistSummary(PlaylistSummary& playlist, CGridRowItem* group)
{
    return AddItemRow(playlist.Name + " by " + playlist.Playmaker.Handle, IDB_PLAYLIST, playlist, group);
}

CGridRowItem* CItemListGridCtrl::AddPlaymaker(UserSummary& user, CGridRowItem* group)
{
    return AddItemRow(user.Handle, IDB_PLAYMAKER, user, group);
}

CGridRowItem* CItemListGridCtrl::AddArtist(ArtistSummary& artist, CGridRowItem* group)
{
    return AddItemRow(artist.Name, IDB_ARTIST, artist, group);
}

CGridRowItem* CItemListGridCtrl::AddPerformance(PerformanceSummary& performance, CGridRowItem* group)
{
    return AddItemRow(PerformanceDisplayText(performance), IDB_PERFORMANCE, performance, group);
}

void CItemListGridCtrl::OnBeforeRButtonDown(int, int, int, int, CGridRowItem*, bool& cancel)
{
    cancel = true;
}

CItemRef* CItemListGridCtrl::ItemRefOf(const CGridRowItem* item)
{
    return OwnsItemData(item) ? static_cast<CItemRef*>(item->Data()) : nullptr;
}

std::vector<int> CItemListGridCtrl::RowsOfRecord(const void* record) const
{
    std::vector<int> rows;
    m_byRecord.ForEach(record, [&](const CItemRef* ref) {
        const int index = IndexOfData(ref);
        if (index >= 0)
            rows.push_back(index);
    });
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CItemListGridCtrl::ReleaseOwnedData(void* owned)
{
    auto* ref = static_cast<CItemRef*>(owned);
    m_byRecord.Remove(ref->Record(), ref);
    m_refs.Release(ref);
}

void CItemListGridCtrl::ReleaseAllOwnedData()
{
    // An item reference's destructor frees nothing: they go with their memory.
    m_byRecord.Clear();
    m_refs.ReleaseAll();
}
