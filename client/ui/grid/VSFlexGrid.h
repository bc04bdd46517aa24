#pragma once
// The grid widget every list and table of the client is made of. Rows are
// numbered as the grid shows them: header (fixed) rows first, 0 or 1 of them,
// shown as the column captions. Each row has a data slot, a hidden state and
// outline facts (node, level, collapsed); each cell a text, a text colour and a
// picture. Events arrive as signals; those with a cancel flag or an in-out value
// take it by reference and are meant for direct connections on the
// user-interface thread.
//
// Mouse positions in events are pixels relative to the widget; buttons are
// 1 left, 2 right, 4 middle; shift is 1 Shift, 2 Control, 4 Alt; keys are Qt
// key codes (Qt::Key_Delete, Qt::Key_Tab), 0 set by a handler swallows the key.
//
// Work with rows through these functions: the Qt model behind the view learns
// of appended rows and of hidden or collapsed ones in batches, from the event
// loop or before the next function that needs it.
#include <QTableView>

#include <functional>
#include <vector>

class CGridModel;
class CGridDelegate;
class QMimeData;

class CVSFlexGrid : public QTableView {
    Q_OBJECT
public:
    enum class SelectionMode {
        Free,   // a cell or a range of cells
        ByRow,  // one whole row
        ByColumn,
        ListBox,  // several whole rows (Control toggles, Shift extends)
    };
    enum NodeRow { kFirstChild = 2, kLastChild = 3 };

    explicit CVSFlexGrid(QWidget* parent = nullptr);
    ~CVSFlexGrid() override;

    // Counts.
    int Rows() const;
    /// Grows with empty rows or drops rows from the end.
    void SetRows(int count);
    int Cols() const;
    void SetCols(int count);
    int FixedRows() const;
    void SetFixedRows(int count);
    /// Column layout "Artist | Title | Version": the number of columns and the
    /// captions of the header row. A caption may start with "<", "^" or ">" for
    /// left, centred or right alignment of its column.
    void SetFormatString(const QString& format);

    // Cells.
    QString TextMatrix(int row, int col) const;
    void SetTextMatrix(int row, int col, const QString& text);
    /// Invalid when the cell uses the grid's text colour.
    QColor CellForeColor(int row, int col) const;
    void SetCellForeColor(int row, int col, const QColor& colour);
    QPixmap CellPicture(int row, int col) const;
    void SetCellPicture(int row, int col, const QPixmap& picture);
    /// No alignment (the default) puts the picture before the text.
    void SetCellPictureAlignment(int row, int col, Qt::Alignment alignment);
    int ColWidthTwips(int col) const;
    void SetColWidthTwips(int col, int twips);
    Qt::Alignment ColAlignment(int col) const;
    void SetColAlignment(int col, Qt::Alignment alignment);
    /// The width of the cell area.
    int ClientWidthTwips() const;
    int TwipsToPixels(int twips) const;
    int PixelsToTwips(int pixels) const;
    void SetBackColor(const QColor& colour);
    void SetForeColor(const QColor& colour);

    // Rows.
    /// With a deleter the rows own their data slots: it runs for the value of
    /// every row that goes and of every row when the grid ends.
    void SetRowDataDeleter(std::function<void(void*)> deleter);
    void* RowData(int row) const;
    void SetRowData(int row, void* data);
    /// Cells separated by tab characters, inserted at row, or appended when row
    /// is -1. Returns the new row's number.
    int AddItem(const QString& text, int row = -1);
    void RemoveItem(int row);
    /// Removes count rows from row on.
    void RemoveItems(int row, int count);
    /// Removes the rows given, in any order; hidden rows go in one pass.
    void RemoveItemSet(std::vector<int> rows);
    /// A value that stands for a row while it lives, and the row's number now
    /// (-1 when the row is gone or of another grid).
    const void* RowHandle(int row) const;
    int RowOfHandle(const void* handle) const;
    /// The first row from startRow on whose data slot equals data, or -1.
    int FindRow(const void* data, int startRow = 0) const;
    /// A hidden row keeps its place, its number and its data.
    bool RowHidden(int row) const;
    void SetRowHidden(int row, bool hidden);
    /// The cell's rectangle in the viewport; empty when the row is not shown.
    QRect CellRect(int row, int col) const;
    /// Brings a row into view.
    void ShowCell(int row, int col = 0);

    // Selection, current and mouse cell. Rows and columns are -1 when none.
    void SetSelectionMode(SelectionMode mode);
    SelectionMode GetSelectionMode() const { return m_selectionMode; }
    int Row() const;
    int Col() const;
    /// Makes the row current and selects it as the selection mode selects.
    void SetRow(int row);
    void SetCol(int col);
    /// Makes (row, col) current and selects the range to (endRow, endCol).
    void Select(int row, int col, int endRow = -1, int endCol = -1);
    /// The rows with a selected cell, in grid order.
    std::vector<int> SelectedRows() const;
    /// The first of them, or -1.
    int FirstSelectedRow() const;
    bool IsSelected(int row) const;
    void SetIsSelected(int row, bool selected);
    int MouseRow() const;
    int MouseCol() const;
    /// Where the last mouse event happened, in screen coordinates.
    QPoint MouseScreenPos() const { return m_mouseGlobal; }

    // Editing. SetEditMaxLength and SetComboList apply to the edit being
    // started; call them from BeforeEdit or StartEdit. A combo list "..."
    // shows a button (CellButtonClick), "a|b|c" a list, empty nothing.
    void SetEditable(bool editable);
    bool Editable() const { return m_editable; }
    /// Starts editing the current cell.
    void EditCell();
    void SetEditMaxLength(int length) { m_editMaxLength = length; }
    void SetComboList(const QString& list) { m_comboList = list; }
    /// The combo list every edit of the column starts with.
    void SetColComboList(int col, const QString& list);
    bool IsEditing() const;

    // Outline.
    void SetOutlineBar(bool on);
    bool OutlineBar() const { return m_outlineBar; }
    bool IsSubtotal(int row) const;
    void SetIsSubtotal(int row, bool node);
    int RowOutlineLevel(int row) const;
    void SetRowOutlineLevel(int row, int level);
    bool IsCollapsed(int row) const;
    void SetIsCollapsed(int row, bool collapsed);
    /// First or last child row of a node row; -1 when there is none.
    int GetNodeRow(int row, NodeRow which) const;
    /// Expands the node rows above level and collapses the others: 0 leaves
    /// only the top-level rows in view.
    void Outline(int level);

    // Dragging. DragRow starts moving a row with the mouse while row moving
    // is on; the move happens where the button is released, after
    // BeforeMoveRow. Automatic OLE drag drags the selected rows out with the
    // data OleStartDrag fills; OLE drop mode tells OleDragDrop of drops, and
    // accepted file drops arrive as FilesDropped.
    void SetRowMoving(bool on) { m_rowMoving = on; }
    bool RowMoving() const { return m_rowMoving; }
    void DragRow(int row);
    bool IsDraggingRow() const { return m_dragRow != nullptr; }
    /// Moves a row now, without asking (the row's number afterwards is to).
    void MoveRow(int row, int to);
    void SetOleDragMode(bool automatic);
    void SetOleDropMode(bool manual);
    void SetAcceptFileDrops(bool accept);
    /// The data object of a drag of the selected rows, as OleStartDrag fills it.
    QMimeData* MakeOleDragData();

    /// Applies pending changes of the shown rows (hidden, collapsed) now; they
    /// also apply from the event loop.
    void Flush();

signals:
    void BeforeMouseDown(int button, int shift, float x, float y, bool& cancel);
    void MouseDown(int button, int shift, float x, float y);
    void MouseMove(int button, int shift, float x, float y);
    void MouseUp(int button, int shift, float x, float y);
    void Click();
    void DblClick();
    void KeyDown(int& key, int shift);
    void KeyPress(int& character);
    void KeyUp(int& key, int shift);
    void SelChange();
    void RowColChange();
    void BeforeEdit(int row, int col, bool& cancel);
    void StartEdit(int row, int col, bool& cancel);
    void ValidateEdit(int row, int col, bool& cancel);
    void AfterEdit(int row, int col);
    void KeyDownEdit(int row, int col, int& key, int shift);
    void KeyPressEdit(int row, int col, int& character);
    void KeyUpEdit(int row, int col, int& key, int shift);
    void CellButtonClick(int row, int col);
    /// position is in-out: set it to row to refuse the move.
    void BeforeMoveRow(int row, int& position);
    void AfterMoveRow(int row, int position);
    void AfterCollapse(int row, bool collapsed);
    void OleStartDrag(QMimeData* data);
    void OleDragDrop(const QMimeData* data);
    void FilesDropped(const QStringList& paths);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void startDrag(Qt::DropActions actions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class CGridDelegate;

    void TrackMouse(const QMouseEvent* event, bool onHeader);
    bool OnOutlineSymbol(const QPoint& pos, int* row) const;
    int DropTarget(const QPoint& pos) const;
    void FinishRowDrag(bool move);
    /// The dragged row's number now, -1 when none.
    int DragRowNow() const;
    /// Ends a drag whose row is among count rows from row on.
    void CancelDragOf(int row, int count);
    QModelIndex ViewIndex(int row, int col) const;
    bool AcceptsDrop(const QMimeData* data) const;
    void ApplyPalette();

    CGridModel* m_model;
    CGridDelegate* m_delegate;
    SelectionMode m_selectionMode = SelectionMode::Free;
    QColor m_backColor;
    QColor m_foreColor;
    bool m_editable = false;
    int m_editMaxLength = 0;
    QString m_comboList;
    std::vector<QString> m_colComboLists;
    bool m_outlineBar = false;
    bool m_rowMoving = false;
    bool m_oleDrag = false;
    bool m_oleDrop = false;
    bool m_fileDrops = false;

    QPoint m_mousePos{-1, -1};  // in the viewport
    QPoint m_mouseGlobal;
    bool m_mouseOnHeader = false;
    bool m_pressed = false;
    bool m_pressCancelled = false;
    // The dragged row by its handle, so that rows coming and going meanwhile
    // (answers arrive during a drag) neither lose nor swap it.
    const void* m_dragRow = nullptr;
    int m_dropRow = -1;
};
