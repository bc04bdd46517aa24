#include "client/ui/grid/GridModel.h"

#include <QMetaObject>

#include <algorithm>

CGridModel::CGridModel(QObject* parent) : QAbstractItemModel(parent) {}

CGridModel::~CGridModel()
{
    if (m_dataDeleter)
        for (Row* row : m_rows)
            if (row->data)
                m_dataDeleter(row->data);
}

// ---- counts ----

void CGridModel::SetRows(int count)
{
    count = std::max(count, 0);
    if (count < m_fixedRows)
        SetFixedRows(count);
    if (count > Rows())
        InsertRows(Rows(), count - Rows());
    else if (count < Rows())
        RemoveRows(count, Rows() - count);
}

void CGridModel::SetCols(int count)
{
    count = std::max(count, 0);
    if (count == m_cols)
        return;
    if (count > m_cols) {
        beginInsertColumns({}, m_cols, count - 1);
        m_cols = count;
        endInsertColumns();
    } else {
        beginRemoveColumns({}, count, m_cols - 1);
        m_cols = count;
        for (auto& row : m_rows) {
            if (count == 0)
                row->first = Cell();
            if (row->more.size() + 1 > static_cast<std::size_t>(count))
                row->more.resize(static_cast<std::size_t>(std::max(count - 1, 0)));
        }
        endRemoveColumns();
    }
    m_colAlignment.resize(static_cast<std::size_t>(m_cols), Qt::AlignLeft);
}

void CGridModel::SetFixedRows(int count)
{
    count = std::max(count, 0);
    if (count == m_fixedRows)
        return;
    Flush();
    beginResetModel();
    m_fixedRows = count;
    while (Rows() < m_fixedRows)
        m_rows.push_back(m_pool.Make());
    Renumber(0);
    m_memoNode = m_memoLast = nullptr;
    Rebuild();
    endResetModel();
}

// ---- rows ----

int CGridModel::AddItem(const QString& text, int row)
{
    if (row < 0 || row > Rows())
        row = Rows();
    row = std::max(row, m_fixedRows);
    if (Rows() < m_fixedRows)
        SetRows(m_fixedRows);
    row = InsertRows(row, 1);
    if (!text.isEmpty() && m_cols > 0) {
        qsizetype start = 0;
        for (int col = 0; col < m_cols; ++col) {
            const qsizetype tab = text.indexOf(u'\t', start);
            if (col == 0 && tab < 0) {
                CellAt(row, 0).text = text;  // shares the caller's string
                break;
            }
            CellAt(row, col).text = text.mid(start, tab < 0 ? -1 : tab - start);
            if (tab < 0)
                break;
            start = tab + 1;
        }
    }
    return row;
}

void CGridModel::RemoveItem(int row)
{
    if (IsData(row))
        RemoveRows(row, 1);
}

int CGridModel::InsertRows(int at, int count)
{
    if (m_dirty)
        Flush();
    if (count <= 0)
        return at;
    const int d = at - m_fixedRows;
    const int scope = ScopeBefore(at);
    Row* const firstAdded = m_pool.Make();
    Resolve(*firstAdded, scope);
    const bool shown = !firstAdded->folded;
    const auto insertAdded = [&] {
        // Rows added right after the remembered node's last child become its last.
        const Row* anchor = m_memoLast ? m_memoLast : m_memoNode;
        const bool extends = anchor && IndexOf(anchor) + 1 == at;
        m_rows.insert(m_rows.begin() + at, static_cast<std::size_t>(count), nullptr);
        for (int i = 0; i < count; ++i) {
            Row* row = i == 0 ? firstAdded : m_pool.Make();
            Resolve(*row, scope);
            row->index = at + i;
            m_rows[static_cast<std::size_t>(at + i)] = row;
        }
        // The rows above keep their numbers and the new ones have theirs.
        if (m_indexValidTo >= at)
            m_indexValidTo = at + count;
        if (extends)
            m_memoLast = m_rows[static_cast<std::size_t>(at + count - 1)];
    };
    if (!m_mapped && shown) {
        // Rows added one after another in one place reach the view together,
        // from the event loop or before the next change elsewhere.
        if (m_pending > 0 && (d < m_pendingFirst || d > m_pendingFirst + m_pending))
            Flush();
        if (m_pending == 0)
            m_pendingFirst = d;
        insertAdded();
        m_pending += count;
        PostFlush();
        return at;
    }
    Flush();

    if (!m_mapped) {
        // First rows not shown: start mapping with every present row shown.
        const int n = Rows() - m_fixedRows;
        m_shown.resize(static_cast<std::size_t>(n));
        m_viewOf.resize(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            m_shown[static_cast<std::size_t>(i)] = m_viewOf[static_cast<std::size_t>(i)] = i;
        m_mapped = true;
    }
    const auto pos = std::lower_bound(m_shown.begin(), m_shown.end(), d);
    const int v = static_cast<int>(pos - m_shown.begin());
    if (shown)
        beginInsertRows({}, v, v + count - 1);
    insertAdded();
    for (auto it = m_shown.begin() + v; it != m_shown.end(); ++it)
        *it += count;
    m_viewOf.insert(m_viewOf.begin() + d, static_cast<std::size_t>(count), -1);
    if (shown) {
        std::vector<int> added(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            added[static_cast<std::size_t>(i)] = d + i;
        m_shown.insert(m_shown.begin() + v, added.begin(), added.end());
    }
    for (std::size_t k = static_cast<std::size_t>(v); k < m_shown.size(); ++k)
        m_viewOf[static_cast<std::size_t>(m_shown[k])] = static_cast<int>(k);
    if (shown)
        endInsertRows();
    return at;
}

void CGridModel::RemoveRowSet(std::vector<int> rows)
{
    Flush();
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::remove_if(rows.begin(), rows.end(), [this](int row) { return !IsData(row); }), rows.end());
    if (rows.empty())
        return;
    // Rows the view shows, or nodes whose going may show others, go one by one.
    const bool quiet = std::none_of(rows.begin(), rows.end(), [this](int row) {
        const Row& r = *m_rows[static_cast<std::size_t>(row)];
        return Shown(r) || r.node;
    });
    if (!quiet) {
        for (auto it = rows.rbegin(); it != rows.rend(); ++it)
            RemoveRows(*it, 1);
        return;
    }
    // The view sees none of them: the shown rows stay as they are, and only the
    // mapping to the rows left is made again.
    m_memoNode = m_memoLast = nullptr;
    std::size_t next = 0;
    std::size_t kept = static_cast<std::size_t>(rows.front());
    for (std::size_t r = kept; r < m_rows.size(); ++r) {
        Row* row = m_rows[r];
        if (next < rows.size() && static_cast<std::size_t>(rows[next]) == r) {
            ++next;
            Unindex(row);
            if (row->collapsed)
                --m_collapsed;
            if (m_dataDeleter && row->data)
                m_dataDeleter(row->data);
            m_pool.Release(row);
            continue;
        }
        m_rows[kept++] = row;
    }
    m_rows.resize(kept);
    Renumber(rows.front());
    m_dirty = true;
    Rebuild();
}

void CGridModel::RemoveRows(int first, int count)
{
    Flush();
    first = std::max(first, m_fixedRows);
    count = std::min(count, Rows() - first);
    if (count <= 0)
        return;
    const int d = first - m_fixedRows;
    int v0 = d;
    int v1 = d + count;
    if (m_mapped) {
        v0 = static_cast<int>(std::lower_bound(m_shown.begin(), m_shown.end(), d) - m_shown.begin());
        v1 = static_cast<int>(std::lower_bound(m_shown.begin(), m_shown.end(), d + count) - m_shown.begin());
    }
    if (v1 > v0)
        beginRemoveRows({}, v0, v1 - 1);
    m_memoNode = m_memoLast = nullptr;
    // One pass over the rows that go; removing most rows, the index is made
    // again from the rows that stay.
    const bool reindex = count > Rows() / 2;
    const bool all = first == 0 && count == Rows();
    bool outline = false;
    for (int r = first; r < first + count; ++r) {
        Row* row = m_rows[static_cast<std::size_t>(r)];
        if (!reindex)
            Unindex(row);
        if (row->collapsed)
            --m_collapsed;
        outline = outline || row->node;
        if (m_dataDeleter && row->data)
            m_dataDeleter(row->data);
        if (!all)
            m_pool.Release(row);
    }
    if (all)
        m_pool.ReleaseAll();
    m_rows.erase(m_rows.begin() + first, m_rows.begin() + first + count);
    Renumber(first);
    if (reindex && m_indexBuilt) {
        m_byData.Clear();
        for (Row* row : m_rows)
            m_byData.Add(row->data, row);
    }
    if (m_mapped) {
        m_shown.erase(m_shown.begin() + v0, m_shown.begin() + v1);
        // The last rows out of view gone, every row is shown again: the
        // mapping is the identity, and later changes take the quick ways.
        if (static_cast<int>(m_shown.size()) == Rows() - m_fixedRows) {
            m_mapped = false;
            m_shown = {};
            m_viewOf = {};
        } else {
            for (auto it = m_shown.begin() + v0; it != m_shown.end(); ++it)
                *it -= count;
            m_viewOf.erase(m_viewOf.begin() + d, m_viewOf.begin() + d + count);
            for (std::size_t k = static_cast<std::size_t>(v0); k < m_shown.size(); ++k)
                m_viewOf[static_cast<std::size_t>(m_shown[k])] = static_cast<int>(k);
        }
    }
    if (v1 > v0)
        endRemoveRows();
    // A removed node may have closed a collapsed node's children.
    if (outline && (m_collapsed > 0 || m_mapped))
        MarkDirty();
}

void CGridModel::MoveRow(int from, int to)
{
    if (!IsData(from) || !IsData(to) || from == to)
        return;
    Flush();
    const int df = from - m_fixedRows;
    const int dt = to - m_fixedRows;
    const bool simple = !m_mapped && m_collapsed == 0;
    if (simple)
        beginMoveRows({}, df, df, {}, dt > df ? dt + 1 : dt);
    auto first = m_rows.begin() + std::min(from, to);
    auto last = m_rows.begin() + std::max(from, to) + 1;
    if (from < to)
        std::rotate(first, first + 1, last);
    else
        std::rotate(first, last - 1, last);
    Renumber(std::min(from, to));
    m_memoNode = m_memoLast = nullptr;
    if (simple) {
        endMoveRows();
        return;
    }
    // Shown rows and folding may change: work them out again at once.
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    std::vector<int> rowsBefore;
    for (const QModelIndex& index : before) {
        int row = FromView(index.row());
        if (row == from)
            row = to;
        else if (from < to && row > from && row <= to)
            --row;
        else if (from > to && row >= to && row < from)
            ++row;
        rowsBefore.push_back(row);
    }
    m_dirty = true;
    Rebuild();
    for (std::size_t i = 0; i < rowsBefore.size(); ++i) {
        const int v = ToView(rowsBefore[i]);
        after.push_back(v < 0 ? QModelIndex() : index(v, before[static_cast<qsizetype>(i)].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

// ---- cells ----

const CGridModel::Cell* CGridModel::FindCell(int row, int col) const
{
    if (row < 0 || row >= Rows() || col < 0)
        return nullptr;
    const Row& r = *m_rows[static_cast<std::size_t>(row)];
    if (col == 0)
        return &r.first;
    return static_cast<std::size_t>(col) <= r.more.size() ? &r.more[static_cast<std::size_t>(col) - 1] : nullptr;
}

CGridModel::Cell& CGridModel::CellAt(int row, int col)
{
    Row& r = *m_rows[static_cast<std::size_t>(row)];
    if (col == 0)
        return r.first;
    if (r.more.size() < static_cast<std::size_t>(col))
        r.more.resize(static_cast<std::size_t>(col));
    return r.more[static_cast<std::size_t>(col) - 1];
}

void CGridModel::CellChanged(int row, int col)
{
    if (row < m_fixedRows) {
        emit headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    const int v = ToView(row);
    if (v >= 0) {
        const QModelIndex changed = index(v, col);
        emit dataChanged(changed, changed);
    }
}

QString CGridModel::Text(int row, int col) const
{
    const Cell* cell = FindCell(row, col);
    return cell ? cell->text : QString();
}

void CGridModel::SetText(int row, int col, const QString& text)
{
    if (row < 0 || row >= Rows() || col < 0 || col >= m_cols)
        return;
    CellAt(row, col).text = text;
    CellChanged(row, col);
}

QColor CGridModel::ForeColor(int row, int col) const
{
    const Cell* cell = FindCell(row, col);
    return cell && cell->hasFore ? QColor(cell->fore) : QColor();
}

void CGridModel::SetForeColor(int row, int col, const QColor& colour)
{
    if (row < 0 || row >= Rows() || col < 0 || col >= m_cols)
        return;
    Cell& cell = CellAt(row, col);
    cell.hasFore = colour.isValid();
    cell.fore = colour.rgb();
    CellChanged(row, col);
}

QPixmap CGridModel::Picture(int row, int col) const
{
    const Cell* cell = FindCell(row, col);
    return cell && cell->picture >= 0 ? m_pictures[static_cast<std::size_t>(cell->picture)] : QPixmap();
}

void CGridModel::SetPicture(int row, int col, const QPixmap& picture)
{
    if (row < 0 || row >= Rows() || col < 0 || col >= m_cols)
        return;
    int id = -1;
    if (!picture.isNull()) {
        // Cells share one copy per distinct picture.
        const auto found = m_pictureIndex.find(picture.cacheKey());
        if (found != m_pictureIndex.end()) {
            id = found->second;
        } else {
            id = static_cast<int>(m_pictures.size());
            m_pictures.push_back(picture);
            m_pictureIndex.emplace(picture.cacheKey(), id);
        }
    }
    CellAt(row, col).picture = id;
    CellChanged(row, col);
}

Qt::Alignment CGridModel::PictureAlignment(int row, int col) const
{
    const Cell* cell = FindCell(row, col);
    return cell ? cell->pictureAlignment : Qt::Alignment();
}

void CGridModel::SetPictureAlignment(int row, int col, Qt::Alignment alignment)
{
    if (row < 0 || row >= Rows() || col < 0 || col >= m_cols)
        return;
    CellAt(row, col).pictureAlignment = alignment;
    CellChanged(row, col);
}

Qt::Alignment CGridModel::ColAlignment(int col) const
{
    return col >= 0 && col < m_cols ? m_colAlignment[static_cast<std::size_t>(col)] : Qt::AlignLeft;
}

void CGridModel::SetColAlignment(int col, Qt::Alignment alignment)
{
    if (col < 0 || col >= m_cols)
        return;
    m_colAlignment[static_cast<std::size_t>(col)] = alignment;
    if (rowCount() > 0)
        emit dataChanged(index(0, col), index(rowCount() - 1, col), {Qt::TextAlignmentRole});
}

// ---- row data ----

int CGridModel::IndexOf(const Row* row) const
{
    if (row->index < m_indexValidTo && m_rows[static_cast<std::size_t>(row->index)] == row)
        return row->index;
    for (int r = m_indexValidTo; r < Rows(); ++r)
        m_rows[static_cast<std::size_t>(r)]->index = r;
    m_indexValidTo = Rows();
    return row->index;
}

void CGridModel::Index(Row* row)
{
    if (m_indexBuilt)
        m_byData.Add(row->data, row);
}

void CGridModel::Unindex(Row* row)
{
    if (m_indexBuilt)
        m_byData.Remove(row->data, row);
}

const void* CGridModel::RowHandle(int row) const
{
    return row >= 0 && row < Rows() ? m_rows[static_cast<std::size_t>(row)] : nullptr;
}

int CGridModel::RowOfHandle(const void* handle) const
{
    if (!handle)
        return -1;
    const int row = IndexOf(static_cast<const Row*>(handle));
    return row >= 0 && row < Rows() && m_rows[static_cast<std::size_t>(row)] == handle ? row : -1;
}

void* CGridModel::RowData(int row) const
{
    return row >= 0 && row < Rows() ? m_rows[static_cast<std::size_t>(row)]->data : nullptr;
}

void CGridModel::SetRowData(int row, void* data)
{
    if (row < 0 || row >= Rows())
        return;
    Row* r = m_rows[static_cast<std::size_t>(row)];
    if (r->data == data)
        return;
    Unindex(r);
    r->data = data;
    Index(r);
}

int CGridModel::FindRow(const void* data, int start) const
{
    start = std::max(start, 0);
    if (!data) {
        for (int r = start; r < Rows(); ++r)
            if (!m_rows[static_cast<std::size_t>(r)]->data)
                return r;
        return -1;
    }
    if (!m_indexBuilt) {
        // The index is made the first time a row is looked for.
        for (Row* row : m_rows)
            m_byData.Add(row->data, row);
        m_indexBuilt = true;
    }
    int best = -1;
    m_byData.ForEach(data, [&](const Row* candidate) {
        const int r = IndexOf(candidate);
        if (r >= start && (best < 0 || r < best))
            best = r;
    });
    return best;
}

// ---- hidden rows and the outline ----

bool CGridModel::IsHidden(int row) const
{
    return row >= 0 && row < Rows() && m_rows[static_cast<std::size_t>(row)]->hidden;
}

void CGridModel::SetHidden(int row, bool hidden)
{
    if (!IsData(row))
        return;
    Row& r = *m_rows[static_cast<std::size_t>(row)];
    if (r.hidden == hidden)
        return;
    r.hidden = hidden;
    MarkDirty();
}

bool CGridModel::IsNode(int row) const
{
    return row >= 0 && row < Rows() && m_rows[static_cast<std::size_t>(row)]->node;
}

void CGridModel::SetNode(int row, bool node)
{
    if (!IsData(row) || m_rows[static_cast<std::size_t>(row)]->node == node)
        return;
    m_rows[static_cast<std::size_t>(row)]->node = node;
    ForgetLastChild(row);
    OutlineChanged(row);
}

int CGridModel::Level(int row) const
{
    return row >= 0 && row < Rows() ? m_rows[static_cast<std::size_t>(row)]->level : 0;
}

void CGridModel::SetLevel(int row, int level)
{
    level = std::max(level, 0);
    if (!IsData(row) || m_rows[static_cast<std::size_t>(row)]->level == level)
        return;
    m_rows[static_cast<std::size_t>(row)]->level = level;
    ForgetLastChild(row);
    OutlineChanged(row);
}

bool CGridModel::IsCollapsed(int row) const
{
    return row >= 0 && row < Rows() && m_rows[static_cast<std::size_t>(row)]->collapsed;
}

void CGridModel::SetCollapsed(int row, bool collapsed)
{
    if (!IsData(row) || m_rows[static_cast<std::size_t>(row)]->collapsed == collapsed)
        return;
    m_rows[static_cast<std::size_t>(row)]->collapsed = collapsed;
    m_collapsed += collapsed ? 1 : -1;
    OutlineChanged(row);
}

void CGridModel::ShowOutlineLevel(int level)
{
    bool changed = false;
    for (int r = m_fixedRows; r < Rows(); ++r) {
        Row& row = *m_rows[static_cast<std::size_t>(r)];
        const bool collapse = row.node && row.level >= level;
        if (row.collapsed != collapse) {
            row.collapsed = collapse;
            m_collapsed += collapse ? 1 : -1;
            changed = true;
        }
    }
    if (changed)
        MarkDirty();
}

bool CGridModel::HasChildren(int row) const
{
    if (!IsData(row) || row + 1 >= Rows())
        return false;
    const Row& r = *m_rows[static_cast<std::size_t>(row)];
    const Row& next = *m_rows[static_cast<std::size_t>(row) + 1];
    return r.node && (!next.node || next.level > r.level);
}

void CGridModel::ForgetLastChild(int row)
{
    const Row* changed = m_rows[static_cast<std::size_t>(row)];
    // The remembered last child stays one while it is plain or a deeper node.
    if (changed == m_memoLast && (!changed->node || changed->level > m_memoNode->level))
        return;
    m_memoNode = m_memoLast = nullptr;
}

int CGridModel::GetNodeRow(int row, NodeRow which) const
{
    if (!HasChildren(row)) {
        if (IsNode(row) && which == kLastChild) {
            m_memoNode = m_rows[static_cast<std::size_t>(row)];
            m_memoLast = nullptr;
        }
        return -1;
    }
    if (which == kFirstChild)
        return row + 1;
    const Row* node = m_rows[static_cast<std::size_t>(row)];
    if (node == m_memoNode && m_memoLast)
        return IndexOf(m_memoLast);
    // Adding rows to the end of one group, as lists fill, asks again and
    // again: the answer is remembered and kept up to date.
    int last = row + 1;
    while (last + 1 < Rows()) {
        const Row& next = *m_rows[static_cast<std::size_t>(last) + 1];
        if (next.node && next.level <= node->level)
            break;
        ++last;
    }
    m_memoNode = node;
    m_memoLast = m_rows[static_cast<std::size_t>(last)];
    return last;
}

int CGridModel::ScopeAfter(const Row& row)
{
    if (row.node && !row.folded)
        return row.collapsed ? row.level : -1;
    return row.scope;
}

void CGridModel::Resolve(Row& row, int scope)
{
    row.folded = scope >= 0 && (!row.node || row.level > scope);
    row.scope = row.folded ? scope : -1;
}

int CGridModel::ScopeBefore(int row) const
{
    return row <= m_fixedRows ? -1 : ScopeAfter(*m_rows[static_cast<std::size_t>(row) - 1]);
}

void CGridModel::OutlineChanged(int row)
{
    if (m_dirty || (m_collapsed == 0 && !m_mapped))
        return;
    if (row != Rows() - 1) {
        MarkDirty();
        return;
    }
    // The last row folds or unfolds on its own; nothing after it depends on it.
    Row& r = *m_rows[static_cast<std::size_t>(row)];
    const bool was = Shown(r);
    Resolve(r, ScopeBefore(row));
    if (Shown(r) != was)
        MarkDirty();
}

// ---- shown rows ----

int CGridModel::ToView(int row) const
{
    if (!IsData(row))
        return -1;
    const int d = row - m_fixedRows;
    if (m_mapped)
        return m_viewOf[static_cast<std::size_t>(d)];
    if (d < m_pendingFirst || m_pending == 0)
        return d;
    return d < m_pendingFirst + m_pending ? -1 : d - m_pending;
}

int CGridModel::FromView(int viewRow) const
{
    if (viewRow < 0 || viewRow >= rowCount())
        return -1;
    if (m_mapped)
        return m_shown[static_cast<std::size_t>(viewRow)] + m_fixedRows;
    return (m_pending > 0 && viewRow >= m_pendingFirst ? viewRow + m_pending : viewRow) + m_fixedRows;
}

void CGridModel::MarkDirty()
{
    m_dirty = true;
    PostFlush();
}

void CGridModel::PostFlush()
{
    if (m_flushPosted)
        return;
    m_flushPosted = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_flushPosted = false;
            Flush();
        },
        Qt::QueuedConnection);
}

void CGridModel::Flush()
{
    if (m_pending > 0) {
        beginInsertRows({}, m_pendingFirst, m_pendingFirst + m_pending - 1);
        m_pending = 0;
        endInsertRows();
    }
    if (!m_dirty)
        return;
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before)
        rows.push_back(FromView(index.row()));
    Rebuild();
    QModelIndexList after;
    after.reserve(before.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int v = ToView(rows[i]);
        after.push_back(v < 0 ? QModelIndex() : index(v, before[static_cast<qsizetype>(i)].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

void CGridModel::Rebuild()
{
    m_dirty = false;
    const int n = Rows() - m_fixedRows;
    m_shown.clear();
    m_viewOf.assign(static_cast<std::size_t>(std::max(n, 0)), -1);
    int scope = -1;
    for (int d = 0; d < n; ++d) {
        Row& row = *m_rows[static_cast<std::size_t>(d + m_fixedRows)];
        Resolve(row, scope);
        scope = ScopeAfter(row);
        if (Shown(row)) {
            m_viewOf[static_cast<std::size_t>(d)] = static_cast<int>(m_shown.size());
            m_shown.push_back(d);
        }
    }
    m_mapped = static_cast<int>(m_shown.size()) != n;
    if (!m_mapped) {
        m_shown = {};
        m_viewOf = {};
    }
}

// ---- QAbstractItemModel ----

QModelIndex CGridModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || column < 0 || row >= rowCount() || column >= m_cols)
        return {};
    return createIndex(row, column);
}

QModelIndex CGridModel::parent(const QModelIndex&) const
{
    return {};
}

int CGridModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return m_mapped ? static_cast<int>(m_shown.size()) : std::max(Rows() - m_fixedRows - m_pending, 0);
}

int CGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

QVariant CGridModel::data(const QModelIndex& index, int role) const
{
    const int row = FromView(index.row());
    if (row < 0)
        return {};
    const Cell* cell = FindCell(row, index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return cell ? cell->text : QString();
    case Qt::ForegroundRole: return cell && cell->hasFore ? QVariant(QColor(cell->fore)) : QVariant();
    case Qt::DecorationRole:
        return cell && cell->picture >= 0 ? QVariant(m_pictures[static_cast<std::size_t>(cell->picture)]) : QVariant();
    case Qt::TextAlignmentRole: return QVariant::fromValue(ColAlignment(index.column()) | Qt::AlignVCenter);
    case OutlineRole: {
        const Row& r = *m_rows[static_cast<std::size_t>(row)];
        return r.level | (r.node ? 0x100 : 0) | (r.collapsed ? 0x200 : 0) | (HasChildren(row) ? 0x400 : 0);
    }
    case GridRowRole: return row;
    default: return {};
    }
}

bool CGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const int row = FromView(index.row());
    if (row < 0 || role != Qt::EditRole)
        return false;
    SetText(row, index.column(), value.toString());
    return true;
}

QVariant CGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || m_fixedRows == 0)
        return {};
    if (role == Qt::DisplayRole)
        return Text(0, section);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(ColAlignment(section) | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags CGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (m_editable)
        flags |= Qt::ItemIsEditable;
    return flags;
}
