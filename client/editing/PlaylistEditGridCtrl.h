#pragma once
// The playlist editor's track grid: a view over the editor's row model. Each
// grid row carries the id of its model row, so that the row a context menu or
// the suggestions dialog was opened for is found again by id once the menu or
// dialog has closed (nothing happens when it is gone meanwhile). The grid
// turns the member's edits, clicks, drags, drops and menu commands into model
// operations; the model decides.
#include "client/editing/PlaylistEditView.h"
#include "client/ui/grid/GridCtrl.h"
#include "client/ui/shell/CommandTarget.h"
#include "client/ui/shell/PaneServices.h"

#include <QPoint>

#include <cstdint>
#include <string>

class CPlaylistEditModel;
struct PerformanceSummary;

class CPlaylistEditGridCtrl : public CGridCtrl, public IPlaylistEditView, public ICommandTarget {
public:
    /// services give the detail pages, previews, clipboard and session that
    /// the menus and dialogs use; any may be null.
    explicit CPlaylistEditGridCtrl(const PaneServices& services, QWidget* parent = nullptr);
    ~CPlaylistEditGridCtrl() override;

    /// Shows model (nullptr: none); the model must outlive the grid or be
    /// taken away first.
    void SetModel(CPlaylistEditModel* model);
    CPlaylistEditModel* Model() const { return m_model; }

    /// One header row (string 3609), the five columns, their widths from the
    /// client width now, editable cells, row moving and file drops.
    void SetupColumns();

    /// The model row id a grid row carries; 0 for none.
    std::int32_t RowIdAt(int index) const;
    /// The grid row carrying a model row id; -1 when it is gone.
    int IndexOfRowId(std::int32_t id) const;

    /// The suggestions dialog for the row with that id; nothing when the row
    /// is gone or not waiting for a choice.
    void ShowSuggestions(std::int32_t rowId);
    /// The Track Comment dialog for a row's description cell.
    void EditComment(std::int32_t rowId);

    /// The row commands of the context menus, on the row the last menu was
    /// opened on, while it lives.
    bool OnCmdMsg(unsigned id, CCommandUpdate* update) override;

    // IPlaylistEditView
    void OnRowsReset() override;
    void OnRowInserted(int row) override;
    void OnRowRemoved(int row) override;
    void OnRowChanged(int row) override;
    void OnRowMoved(int from, int to) override;

protected:
    void OnBeforeLButtonDown(int x, int y, int index, int column, CGridRowItem* item, bool& cancel) override;
    void OnBeforeRButtonDown(int x, int y, int index, int column, CGridRowItem* item, bool& cancel) override;
    void OnMouseLButtonUp(int x, int y, int index, int column, CGridRowItem* item) override;
    void OnMouseRButtonUp(int x, int y, int index, int column, CGridRowItem* item) override;
    void OnRowClicked() override;

private:
    void InsertModelRow(int row);
    void RefreshRow(int row);
    void OnBeforeEdit(int row, int column, bool& cancel);
    void OnAfterEdit(int row, int column);
    void OnCellButtonClick(int row, int column);
    void OnMouseMoved(int buttons);
    void OnBeforeMoveRow(int row, int& position);
    /// The model row the last context menu was opened on; -1 once it is gone.
    int ContextRow() const;
    bool CommandEnabled(unsigned id, int row) const;
    void RunRowCommand(unsigned id, int row);

    PaneServices m_services;
    CPlaylistEditModel* m_model = nullptr;
    std::int32_t m_contextRowId = 0;
    // The left button's press on a data row, until it is released or a drag starts.
    bool m_pressed = false;
    QPoint m_pressPoint;
    std::int32_t m_pressRowId = 0;
};
