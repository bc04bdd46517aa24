#pragma once
// The row model of the playlist editor's track grid: track rows above one
// blank input row, background matching of each row against the catalogue,
// and the outcomes of the member's edits, drops, pastes and choices.
#include "client/editing/PlaylistEditListener.h"
#include "client/editing/PlaylistEditRow.h"
#include "client/editing/PlaylistEditView.h"
#include "client/localmedia/PlaylistRows.h"
#include "client/protocol/GuardedList.h"
#include "client/protocol/RequestListener.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CResolvePerformancesRequest;
class ILocalTrackLibrary;
class IClipboardStore;

enum EditColumn : int { kArtistColumn = 0, kTitleColumn = 1, kCommentColumn = 2, kMatchColumn = 3, kLocalColumn = 4 };

/// The context menus of the rows, by state.
enum EditRowMenu : int {
    kMenuMatchRow = 179,
    kMenuWorkingRow = 180,
    kMenuClickHereRow = 182,
    kMenuBlankRow = 183,
    kMenuErrorRow = 184
};

enum class EditClick { None, ShowSuggestions };

class CPlaylistEditModel : public IPlaylistRows, public IRequestListener {
public:
    /// library may be null: rows then never learn or record local files.
    explicit CPlaylistEditModel(ILocalTrackLibrary* library = nullptr);
    ~CPlaylistEditModel() override;
    CPlaylistEditModel(const CPlaylistEditModel&) = delete;
    CPlaylistEditModel& operator=(const CPlaylistEditModel&) = delete;

    static std::string MatchText(MatchState state);
    /// 0xBBGGRR.
    static std::uint32_t MatchColour(MatchState state);

    /// Every row, the blank input row (always the last) included.
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    int BlankRow() const { return RowCount() - 1; }
    const CPlaylistEditRow& Row(int row) const { return *m_rows.at(static_cast<std::size_t>(row)); }
    /// The index of the row with that id; -1 once the row is gone.
    int IndexOfRowId(std::int32_t id) const;
    std::string CellText(int row, int column) const;
    int LocalFileCount() const { return m_localFileCount; }

    void ResetRows();
    /// Inserts above the blank row and starts matching; returns the row index.
    int AddTrackRow(const std::string& title, const std::string& artist, const std::optional<std::string>& comment,
                    const std::string& filePath);
    /// Inserts a copy of a catalogue track above the blank row, matched.
    int AddMatchedRow(const PerformanceSummary& summary);
    void StartMatching(int row);
    const PerformanceSummary& GetTrackRecord(int row) const { return Row(row).performance; }
    /// Track rows still "working" or "click here".
    int CountUnresolved() const;
    /// Track rows whose lookup failed.
    int CountErrors() const;

    void AddEditListener(IPlaylistEditListener* listener) { m_listeners.Add(listener); }
    void RemoveEditListener(IPlaylistEditListener* listener) { m_listeners.Remove(listener); }
    void SetView(IPlaylistEditView* view) { m_view = view; }

    /// The member finished editing a cell: the text is stored and the
    /// after-edit rules run. The Match and Local MP3 cells take no text.
    void EditCell(int row, int column, const std::string& text);
    /// row -1 is the header row.
    EditClick Click(int row, int column);
    int ContextMenu(int row) const;
    bool CanDragRow(int row) const;
    /// Moves a track row; a target on the blank row lands just above it.
    /// Returns the row's new index, or -1 when nothing moved.
    int MoveRow(int from, int to);
    /// The blank row cannot be deleted.
    bool DeleteRow(int row);
    void RetryMatching(int row);
    /// Adds the clipboard's performance as a matched row; false when the
    /// clipboard holds none.
    bool Paste(const IClipboardStore& clipboard);
    /// Copies of the row's candidates in the server's order.
    std::vector<PerformanceSummary> Suggestions(int row) const;
    /// A suggestion was chosen or a track created for the row.
    void ChooseSuggestion(int row, const PerformanceSummary& chosen);
    /// Files dropped on the grid. An MP3 file that cannot be read is shown in
    /// a message box and ends the drop.
    void DropFiles(const std::vector<std::string>& paths);

    /// Rows learn their local files here; null when absent.
    ILocalTrackLibrary* TrackLibrary() const { return m_library; }
    CResolvePerformancesRequest& Resolver() { return *m_resolver; }

    // IPlaylistRows
    int GetTrackCount() const override { return RowCount() - 1; }
    std::string GetTitle(int row) const override { return Row(row).performance.SongName; }
    std::string GetArtist(int row) const override { return Row(row).performance.ArtistName; }
    std::int32_t GetPerformanceID(int row) const override { return Row(row).performance.performanceID; }
    std::string GetComment(int row) const override { return Row(row).performance.Comment; }
    std::string GetLocalFilePath(int row) const override { return Row(row).performance.localFilePath; }
    std::string GetLibraryPath(int row) const override;
    void AddTrackRow(const std::string& title, const std::string& artist, const std::string& filePath) override;

    // IRequestListener (the resolver)
    void OnRequestCompleted(CServerRequest* request, std::int32_t value1, std::int32_t value2) override;
    void OnRequestFailed(CServerRequest* request, HRESULT result, std::int32_t value1, std::int32_t value2) override;

private:
    bool IsTrackRow(int row) const { return row >= 0 && row < BlankRow(); }
    /// The row a resolver answer is for, with its lookup cleared; -1 when the
    /// row is gone or the answer is not its newest lookup.
    int AnsweredRow(std::int32_t key, std::int32_t context);
    std::unique_ptr<CPlaylistEditRow> MakeBlankRow();
    void AppendBlankRow();
    int InsertRow(std::unique_ptr<CPlaylistEditRow> row);
    void SetLocalFilePath(CPlaylistEditRow& row, const std::string& path);
    void AdjustLocalCount(int delta);
    void TakeCatalogueFields(CPlaylistEditRow& row, const PerformanceSummary& source);
    void RowChanged(int row);

    ILocalTrackLibrary* m_library;
    CResolvePerformancesRequest* m_resolver;
    std::vector<std::unique_ptr<CPlaylistEditRow>> m_rows;
    std::int32_t m_nextRowId = 1;
    int m_localFileCount = 0;
    CGuardedList<IPlaylistEditListener*> m_listeners;
    IPlaylistEditView* m_view = nullptr;
};
