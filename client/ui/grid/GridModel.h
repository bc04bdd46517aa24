#pragma once
// The row store behind CVSFlexGrid. Rows are numbered as the grid numbers them,
// header (fixed) rows first; the Qt side sees only the data rows that are shown
// (not hidden, not folded under a collapsed outline row).
//
// Large lists stay cheap: appending is constant time, a row is found by its data
// through a hash index, row positions are renumbered lazily, and hiding rows only
// marks them; the shown rows are worked out once, after a batch of changes.
#include "client/ui/grid/ObjectPool.h"
#include "client/ui/grid/PointerIndex.h"

#include <QAbstractItemModel>
#include <QColor>
#include <QPixmap>
#include <QString>

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

class CGridModel : public QAbstractItemModel {
    Q_OBJECT
public:
    /// Which child row GetNodeRow answers.
    enum NodeRow { kFirstChild = 2, kLastChild = 3 };
    /// Outline facts of a shown row, for drawing: level, node, collapsed, has children.
    enum { OutlineRole = Qt::UserRole + 1, GridRowRole };

    explicit CGridModel(QObject* parent = nullptr);
    ~CGridModel() override;

    int Rows() const { return static_cast<int>(m_rows.size()); }
    /// Grows with empty rows or drops rows from the end.
    void SetRows(int count);
    int Cols() const { return m_cols; }
    void SetCols(int count);
    int FixedRows() const { return m_fixedRows; }
    void SetFixedRows(int count);

    /// Cells separated by tab characters; at row, or at the end when row is -1
    /// or past the end. Returns the new row's number.
    int AddItem(const QString& text, int row);
    void RemoveItem(int row);
    /// Removes count rows from row on (header rows stay).
    void RemoveItems(int row, int count) { RemoveRows(row, count); }
    /// Removes the data rows given (in any order). Rows out of view that are no
    /// outline nodes leave in one pass, whatever their number.
    void RemoveRowSet(std::vector<int> rows);
    /// Moves row from to position to (the row's number after the move).
    void MoveRow(int from, int to);

    QString Text(int row, int col) const;
    void SetText(int row, int col, const QString& text);
    /// Invalid when the cell has no colour of its own.
    QColor ForeColor(int row, int col) const;
    void SetForeColor(int row, int col, const QColor& colour);
    QPixmap Picture(int row, int col) const;
    /// A null pixmap clears the picture.
    void SetPicture(int row, int col, const QPixmap& picture);
    Qt::Alignment PictureAlignment(int row, int col) const;
    void SetPictureAlignment(int row, int col, Qt::Alignment alignment);
    Qt::Alignment ColAlignment(int col) const;
    void SetColAlignment(int col, Qt::Alignment alignment);

    /// With a deleter the rows own their data: it runs for the data of every
    /// row that goes, and of every row when the model ends (SetRowData does
    /// not delete the value it replaces).
    void SetRowDataDeleter(std::function<void(void*)> deleter) { m_dataDeleter = std::move(deleter); }
    void* RowData(int row) const;
    void SetRowData(int row, void* data);
    /// A value that stands for a row while it lives, whatever its number, and
    /// the row's number now (-1 when it is not a row of this model).
    const void* RowHandle(int row) const;
    int RowOfHandle(const void* handle) const;
    /// The first row from start on whose data equals data, or -1.
    int FindRow(const void* data, int start = 0) const;

    bool IsHidden(int row) const;
    void SetHidden(int row, bool hidden);
    bool IsNode(int row) const;
    void SetNode(int row, bool node);
    int Level(int row) const;
    void SetLevel(int row, int level);
    bool IsCollapsed(int row) const;
    void SetCollapsed(int row, bool collapsed);
    /// Expands the nodes above level and collapses the others.
    void ShowOutlineLevel(int level);
    /// The children of a node row are the rows after it up to the next node row
    /// of the same or a lower level. -1 when there is none or row is no node.
    int GetNodeRow(int row, NodeRow which) const;

    /// The shown position of a grid row (-1 when it is a header row or not shown),
    /// and the grid row at a shown position (-1 when out of range).
    int ToView(int row) const;
    int FromView(int viewRow) const;

    /// Tells the view of appended rows and applies pending changes of the shown
    /// rows now (both also happen from the event loop, once per batch).
    void Flush();

    // QAbstractItemModel
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void SetEditable(bool editable) { m_editable = editable; }

private:
    struct Cell {
        QString text;
        QRgb fore = 0;
        bool hasFore = false;
        int picture = -1;
        Qt::Alignment pictureAlignment;
    };
    struct Row {
        Cell first;              // column 0, kept inline: most lists have one column
        std::vector<Cell> more;  // columns 1 and up
        void* data = nullptr;
        mutable int index = 0;  // valid below m_indexValidTo
        int level = 0;
        bool hidden = false;
        bool node = false;
        bool collapsed = false;
        bool folded = false;  // under a collapsed node
        int scope = -1;       // level of that node
    };

    int IndexOf(const Row* row) const;

    void Renumber(int from) const { m_indexValidTo = std::min(m_indexValidTo, from); }
    const Cell* FindCell(int row, int col) const;
    Cell& CellAt(int row, int col);
    bool IsData(int row) const { return row >= m_fixedRows && row < Rows(); }
    bool Shown(const Row& row) const { return !row.hidden && !row.folded; }
    static int ScopeAfter(const Row& row);
    static void Resolve(Row& row, int scope);
    int ScopeBefore(int row) const;
    void Index(Row* row);
    void Unindex(Row* row);
    int InsertRows(int at, int count);
    void RemoveRows(int first, int count);
    void CellChanged(int row, int col);
    /// Outline facts changed for row: handled in place for the last row,
    /// otherwise the shown rows are worked out again.
    void OutlineChanged(int row);
    void MarkDirty();
    void PostFlush();
    void Rebuild();
    bool HasChildren(int row) const;
    void ForgetLastChild(int row);

    CObjectPool<Row> m_pool;
    std::vector<Row*> m_rows;
    mutable int m_indexValidTo = 0;
    mutable CPointerIndex<Row> m_byData;
    mutable bool m_indexBuilt = false;
    int m_cols = 0;
    int m_fixedRows = 0;
    int m_collapsed = 0;  // collapsed node rows
    bool m_editable = false;
    std::function<void(void*)> m_dataDeleter;
    std::vector<Qt::Alignment> m_colAlignment;
    std::vector<QPixmap> m_pictures;
    std::unordered_map<qint64, int> m_pictureIndex;

    // Shown rows. While m_mapped is false every data row is shown and the
    // mapping is the identity; otherwise m_shown lists the data offsets
    // (row - fixed rows) in order and m_viewOf maps them back (-1: not shown).
    bool m_mapped = false;
    std::vector<int> m_shown;
    std::vector<int> m_viewOf;
    bool m_dirty = false;
    bool m_flushPosted = false;
    // Added rows the view has not been told of yet: data offsets
    // m_pendingFirst to m_pendingFirst + m_pending - 1 (unmapped only).
    int m_pendingFirst = 0;
    int m_pending = 0;
    // The last GetNodeRow answer for a last child: the node and its last child
    // row (none when it has no children yet).
    mutable const Row* m_memoNode = nullptr;
    mutable const Row* m_memoLast = nullptr;
};
