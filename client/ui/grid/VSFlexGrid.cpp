#include "client/ui/grid/VSFlexGrid.h"

#include "client/ui/grid/GridDelegate.h"
#include "client/ui/grid/GridModel.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

int ButtonCode(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

int ShiftCode(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

}  // namespace

CVSFlexGrid::CVSFlexGrid(QWidget* parent)
    : QTableView(parent), m_model(new CGridModel(this)), m_delegate(new CGridDelegate(this))
{
    setModel(m_model);
    setItemDelegate(m_delegate);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setEditTriggers(NoEditTriggers);
    setDragDropMode(NoDragDrop);
    verticalHeader()->hide();
    // One height for every row: positions are arithmetic, whatever the length.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    // With one height for every row, a row that moves changes nothing the row
    // header keeps, while its handling of a move walks every row.
    disconnect(m_model, &QAbstractItemModel::rowsAboutToBeMoved, verticalHeader(), nullptr);
    disconnect(m_model, &QAbstractItemModel::rowsMoved, verticalHeader(), nullptr);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->hide();
    horizontalHeader()->viewport()->installEventFilter(this);
    viewport()->setMouseTracking(true);
    SetSelectionMode(SelectionMode::Free);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { emit SelChange(); });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { emit RowColChange(); });
}

CVSFlexGrid::~CVSFlexGrid() = default;

// ---- counts ----

int CVSFlexGrid::Rows() const
{
    return m_model->Rows();
}

void CVSFlexGrid::SetRows(int count)
{
    CancelDragOf(count, Rows() - count);
    m_model->SetRows(count);
}

int CVSFlexGrid::Cols() const
{
    return m_model->Cols();
}

void CVSFlexGrid::SetCols(int count)
{
    m_model->SetCols(count);
    m_colComboLists.resize(static_cast<std::size_t>(std::max(count, 0)));
}

int CVSFlexGrid::FixedRows() const
{
    return m_model->FixedRows();
}

void CVSFlexGrid::SetFixedRows(int count)
{
    m_model->SetFixedRows(std::clamp(count, 0, 1));
    horizontalHeader()->setVisible(m_model->FixedRows() > 0);
}

void CVSFlexGrid::SetFormatString(const QString& format)
{
    const QStringList parts = format.split(u'|');
    SetCols(static_cast<int>(parts.size()));
    for (int col = 0; col < parts.size(); ++col) {
        QString caption = parts[col].trimmed();
        if (caption.startsWith(u'<') || caption.startsWith(u'^') || caption.startsWith(u'>')) {
            const QChar mark = caption.front();
            SetColAlignment(col, mark == u'<' ? Qt::AlignLeft : mark == u'^' ? Qt::AlignHCenter : Qt::AlignRight);
            caption = caption.mid(1);
        }
        if (FixedRows() > 0)
            m_model->SetText(0, col, caption);
    }
}

// ---- cells ----

QString CVSFlexGrid::TextMatrix(int row, int col) const
{
    return m_model->Text(row, col);
}

void CVSFlexGrid::SetTextMatrix(int row, int col, const QString& text)
{
    m_model->SetText(row, col, text);
}

QColor CVSFlexGrid::CellForeColor(int row, int col) const
{
    return m_model->ForeColor(row, col);
}

void CVSFlexGrid::SetCellForeColor(int row, int col, const QColor& colour)
{
    m_model->SetForeColor(row, col, colour);
}

QPixmap CVSFlexGrid::CellPicture(int row, int col) const
{
    return m_model->Picture(row, col);
}

void CVSFlexGrid::SetCellPicture(int row, int col, const QPixmap& picture)
{
    m_model->SetPicture(row, col, picture);
}

void CVSFlexGrid::SetCellPictureAlignment(int row, int col, Qt::Alignment alignment)
{
    m_model->SetPictureAlignment(row, col, alignment);
}

int CVSFlexGrid::TwipsToPixels(int twips) const
{
    return (twips * logicalDpiX() + 720) / 1440;
}

int CVSFlexGrid::PixelsToTwips(int pixels) const
{
    const int dpi = std::max(logicalDpiX(), 1);
    return (pixels * 1440 + dpi / 2) / dpi;
}

int CVSFlexGrid::ColWidthTwips(int col) const
{
    return PixelsToTwips(columnWidth(col));
}

void CVSFlexGrid::SetColWidthTwips(int col, int twips)
{
    setColumnWidth(col, TwipsToPixels(twips));
}

Qt::Alignment CVSFlexGrid::ColAlignment(int col) const
{
    return m_model->ColAlignment(col);
}

void CVSFlexGrid::SetColAlignment(int col, Qt::Alignment alignment)
{
    m_model->SetColAlignment(col, alignment);
}

int CVSFlexGrid::ClientWidthTwips() const
{
    return PixelsToTwips(viewport()->width());
}

void CVSFlexGrid::SetBackColor(const QColor& colour)
{
    m_backColor = colour;
    ApplyPalette();
}

void CVSFlexGrid::SetForeColor(const QColor& colour)
{
    m_foreColor = colour;
    ApplyPalette();
}

void CVSFlexGrid::ApplyPalette()
{
    QPalette colours = palette();
    if (m_backColor.isValid()) {
        colours.setColor(QPalette::Base, m_backColor);
        colours.setColor(QPalette::Window, m_backColor);
    }
    if (m_foreColor.isValid())
        colours.setColor(QPalette::Text, m_foreColor);
    setPalette(colours);
}

// ---- rows ----

void CVSFlexGrid::SetRowDataDeleter(std::function<void(void*)> deleter)
{
    m_model->SetRowDataDeleter(std::move(deleter));
}

void* CVSFlexGrid::RowData(int row) const
{
    return m_model->RowData(row);
}

void CVSFlexGrid::SetRowData(int row, void* value)
{
    m_model->SetRowData(row, value);
}

int CVSFlexGrid::AddItem(const QString& text, int row)
{
    return m_model->AddItem(text, row);
}

void CVSFlexGrid::RemoveItem(int row)
{
    CancelDragOf(row, 1);
    m_model->RemoveItem(row);
}

void CVSFlexGrid::RemoveItems(int row, int count)
{
    CancelDragOf(row, count);
    m_model->RemoveItems(row, count);
}

void CVSFlexGrid::RemoveItemSet(std::vector<int> rows)
{
    const int dragged = DragRowNow();
    if (dragged >= 0 && std::find(rows.begin(), rows.end(), dragged) != rows.end())
        FinishRowDrag(false);
    m_model->RemoveRowSet(std::move(rows));
}

void CVSFlexGrid::CancelDragOf(int row, int count)
{
    const int dragged = DragRowNow();
    if (dragged >= 0 && dragged >= row && dragged < row + count)
        FinishRowDrag(false);
}

const void* CVSFlexGrid::RowHandle(int row) const
{
    return m_model->RowHandle(row);
}

int CVSFlexGrid::RowOfHandle(const void* handle) const
{
    return m_model->RowOfHandle(handle);
}

int CVSFlexGrid::FindRow(const void* value, int startRow) const
{
    return m_model->FindRow(value, startRow);
}

bool CVSFlexGrid::RowHidden(int row) const
{
    return m_model->IsHidden(row);
}

void CVSFlexGrid::SetRowHidden(int row, bool hidden)
{
    m_model->SetHidden(row, hidden);
}

QRect CVSFlexGrid::CellRect(int row, int col) const
{
    const QModelIndex index = ViewIndex(row, col);
    return index.isValid() ? visualRect(index) : QRect();
}

void CVSFlexGrid::ShowCell(int row, int col)
{
    Flush();
    const QModelIndex index = ViewIndex(row, std::max(col, 0));
    if (index.isValid())
        scrollTo(index);
}

void CVSFlexGrid::Flush()
{
    m_model->Flush();
}

QModelIndex CVSFlexGrid::ViewIndex(int row, int col) const
{
    m_model->Flush();
    const int v = m_model->ToView(row);
    return v < 0 ? QModelIndex() : m_model->index(v, col);
}

// ---- selection ----

void CVSFlexGrid::SetSelectionMode(SelectionMode mode)
{
    m_selectionMode = mode;
    switch (mode) {
    case SelectionMode::Free:
        setSelectionBehavior(SelectItems);
        setSelectionMode(ContiguousSelection);
        break;
    case SelectionMode::ByRow:
        setSelectionBehavior(SelectRows);
        setSelectionMode(SingleSelection);
        break;
    case SelectionMode::ByColumn:
        setSelectionBehavior(SelectColumns);
        setSelectionMode(SingleSelection);
        break;
    case SelectionMode::ListBox:
        setSelectionBehavior(SelectRows);
        setSelectionMode(ExtendedSelection);
        break;
    }
}

int CVSFlexGrid::Row() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? m_model->FromView(current.row()) : -1;
}

int CVSFlexGrid::Col() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : -1;
}

void CVSFlexGrid::SetRow(int row)
{
    const QModelIndex index = ViewIndex(row, std::max(Col(), 0));
    if (!index.isValid())
        return;
    QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
    if (m_selectionMode == SelectionMode::ByRow || m_selectionMode == SelectionMode::ListBox)
        flags |= QItemSelectionModel::Rows;
    else if (m_selectionMode == SelectionMode::ByColumn)
        flags |= QItemSelectionModel::Columns;
    selectionModel()->setCurrentIndex(index, flags);
}

void CVSFlexGrid::SetCol(int col)
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || col < 0 || col >= Cols())
        return;
    selectionModel()->setCurrentIndex(m_model->index(current.row(), col), QItemSelectionModel::NoUpdate);
}

void CVSFlexGrid::Select(int row, int col, int endRow, int endCol)
{
    const QModelIndex start = ViewIndex(row, col);
    if (!start.isValid())
        return;
    QModelIndex end = ViewIndex(endRow < 0 ? row : endRow, endCol < 0 ? col : endCol);
    if (!end.isValid())
        end = start;
    selectionModel()->setCurrentIndex(start, QItemSelectionModel::NoUpdate);
    QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
    if (m_selectionMode == SelectionMode::ByRow || m_selectionMode == SelectionMode::ListBox)
        flags |= QItemSelectionModel::Rows;
    selectionModel()->select(QItemSelection(start, end), flags);
}

std::vector<int> CVSFlexGrid::SelectedRows() const
{
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int v = range.top(); v <= range.bottom(); ++v)
            rows.push_back(m_model->FromView(v));
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (!rows.empty() && rows.front() < 0)
        rows.erase(rows.begin());
    return rows;
}

int CVSFlexGrid::FirstSelectedRow() const
{
    // Shown rows keep the grid's order, so the first is the top of a range.
    int first = -1;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        const int row = m_model->FromView(range.top());
        if (row >= 0 && (first < 0 || row < first))
            first = row;
    }
    return first;
}

bool CVSFlexGrid::IsSelected(int row) const
{
    const int v = m_model->ToView(row);
    return v >= 0 && selectionModel()->isRowSelected(v, {});
}

void CVSFlexGrid::SetIsSelected(int row, bool selected)
{
    const QModelIndex index = ViewIndex(row, 0);
    if (index.isValid())
        selectionModel()->select(index, (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                                            QItemSelectionModel::Rows);
}

int CVSFlexGrid::MouseRow() const
{
    if (m_mouseOnHeader)
        return FixedRows() > 0 ? 0 : -1;
    if (m_mousePos.y() < 0)
        return -1;
    return m_model->FromView(rowAt(m_mousePos.y()));
}

int CVSFlexGrid::MouseCol() const
{
    if (m_mousePos.x() < 0)
        return -1;
    return columnAt(m_mousePos.x());
}

void CVSFlexGrid::TrackMouse(const QMouseEvent* event, bool onHeader)
{
    m_mouseOnHeader = onHeader;
    m_mousePos = event->position().toPoint();
    if (onHeader)
        m_mousePos.setY(-1);
    m_mouseGlobal = event->globalPosition().toPoint();
}

// ---- editing ----

void CVSFlexGrid::SetEditable(bool editable)
{
    m_editable = editable;
    m_model->SetEditable(editable);
    setEditTriggers(editable ? (DoubleClicked | EditKeyPressed | AnyKeyPressed) : NoEditTriggers);
}

void CVSFlexGrid::EditCell()
{
    const QModelIndex current = currentIndex();
    if (current.isValid() && m_editable)
        edit(current);
}

void CVSFlexGrid::SetColComboList(int col, const QString& list)
{
    if (col >= 0 && col < Cols())
        m_colComboLists[static_cast<std::size_t>(col)] = list;
}

bool CVSFlexGrid::IsEditing() const
{
    return state() == EditingState;
}

// ---- outline ----

void CVSFlexGrid::SetOutlineBar(bool on)
{
    if (m_outlineBar == on)
        return;
    m_outlineBar = on;
    viewport()->update();
}

bool CVSFlexGrid::IsSubtotal(int row) const
{
    return m_model->IsNode(row);
}

void CVSFlexGrid::SetIsSubtotal(int row, bool node)
{
    m_model->SetNode(row, node);
}

int CVSFlexGrid::RowOutlineLevel(int row) const
{
    return m_model->Level(row);
}

void CVSFlexGrid::SetRowOutlineLevel(int row, int level)
{
    m_model->SetLevel(row, level);
}

bool CVSFlexGrid::IsCollapsed(int row) const
{
    return m_model->IsCollapsed(row);
}

void CVSFlexGrid::SetIsCollapsed(int row, bool collapsed)
{
    m_model->SetCollapsed(row, collapsed);
    Flush();
}

int CVSFlexGrid::GetNodeRow(int row, NodeRow which) const
{
    return m_model->GetNodeRow(row, which == kFirstChild ? CGridModel::kFirstChild : CGridModel::kLastChild);
}

void CVSFlexGrid::Outline(int level)
{
    m_model->ShowOutlineLevel(level);
    Flush();
}

bool CVSFlexGrid::OnOutlineSymbol(const QPoint& pos, int* row) const
{
    if (!m_outlineBar)
        return false;
    const QModelIndex index = indexAt(pos);
    if (!index.isValid() || index.column() != 0)
        return false;
    const int r = m_model->FromView(index.row());
    if (!m_model->IsNode(r) || m_model->GetNodeRow(r, CGridModel::kFirstChild) < 0)
        return false;
    if (!CGridDelegate::SymbolRect(visualRect(index), m_model->Level(r)).adjusted(-2, -2, 2, 2).contains(pos))
        return false;
    *row = r;
    return true;
}

// ---- mouse and keys ----

void CVSFlexGrid::mousePressEvent(QMouseEvent* event)
{
    TrackMouse(event, false);
    if (m_dragRow) {
        m_dropRow = DropTarget(event->position().toPoint());
        FinishRowDrag(true);
        return;
    }
    const int button = ButtonCode(event->button());
    const int shift = ShiftCode(event->modifiers());
    const QPointF at = viewport()->mapTo(this, event->position());
    bool cancel = false;
    emit BeforeMouseDown(button, shift, static_cast<float>(at.x()), static_cast<float>(at.y()), cancel);
    m_pressed = true;
    m_pressCancelled = cancel;
    if (!cancel) {
        int row = -1;
        if (event->button() == Qt::LeftButton && OnOutlineSymbol(event->position().toPoint(), &row)) {
            SetIsCollapsed(row, !IsCollapsed(row));
            emit AfterCollapse(row, IsCollapsed(row));
            m_pressCancelled = true;
        } else {
            QTableView::mousePressEvent(event);
        }
    }
    emit MouseDown(button, shift, static_cast<float>(at.x()), static_cast<float>(at.y()));
}

void CVSFlexGrid::mouseMoveEvent(QMouseEvent* event)
{
    TrackMouse(event, false);
    const QPointF at = viewport()->mapTo(this, event->position());
    emit MouseMove(ButtonCode(event->buttons()), ShiftCode(event->modifiers()), static_cast<float>(at.x()),
                   static_cast<float>(at.y()));
    if (m_dragRow) {
        const int target = DropTarget(event->position().toPoint());
        if (target != m_dropRow) {
            m_dropRow = target;
            viewport()->update();
        }
        return;
    }
    if (!m_pressCancelled)
        QTableView::mouseMoveEvent(event);
}

void CVSFlexGrid::mouseReleaseEvent(QMouseEvent* event)
{
    TrackMouse(event, false);
    const QPointF at = viewport()->mapTo(this, event->position());
    const int button = ButtonCode(event->button());
    const bool wasPressed = m_pressed;
    const bool dragged = m_dragRow != nullptr;
    m_pressed = false;
    if (dragged) {
        // Rows may have come or gone since the last move: the drop goes where
        // the button is released.
        m_dropRow = DropTarget(event->position().toPoint());
        FinishRowDrag(true);
        setState(NoState);
    } else if (!m_pressCancelled) {
        QTableView::mouseReleaseEvent(event);
    }
    m_pressCancelled = false;
    emit MouseUp(button, ShiftCode(event->modifiers()), static_cast<float>(at.x()), static_cast<float>(at.y()));
    if (wasPressed && !dragged && event->button() == Qt::LeftButton)
        emit Click();
}

void CVSFlexGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    TrackMouse(event, false);
    m_pressed = true;
    emit DblClick();
    QTableView::mouseDoubleClickEvent(event);
}

void CVSFlexGrid::keyPressEvent(QKeyEvent* event)
{
    if (m_dragRow && event->key() == Qt::Key_Escape) {
        FinishRowDrag(false);
        return;
    }
    int key = event->key();
    emit KeyDown(key, ShiftCode(event->modifiers()));
    if (key == 0) {
        event->accept();
        return;
    }
    if (!event->text().isEmpty()) {
        int character = event->text().at(0).unicode();
        emit KeyPress(character);
        if (character == 0) {
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void CVSFlexGrid::keyReleaseEvent(QKeyEvent* event)
{
    int key = event->key();
    emit KeyUp(key, ShiftCode(event->modifiers()));
    if (key == 0) {
        event->accept();
        return;
    }
    QTableView::keyReleaseEvent(event);
}

bool CVSFlexGrid::eventFilter(QObject* watched, QEvent* event)
{
    // Presses on the caption row are presses on row 0.
    if (watched == horizontalHeader()->viewport()) {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease || type == QEvent::MouseMove) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            TrackMouse(mouse, true);
            const QPointF at = horizontalHeader()->viewport()->mapTo(this, mouse->position());
            const float x = static_cast<float>(at.x());
            const float y = static_cast<float>(at.y());
            const int shift = ShiftCode(mouse->modifiers());
            if (type == QEvent::MouseButtonPress) {
                bool cancel = false;
                emit BeforeMouseDown(ButtonCode(mouse->button()), shift, x, y, cancel);
                m_pressed = true;
                emit MouseDown(ButtonCode(mouse->button()), shift, x, y);
            } else if (type == QEvent::MouseMove) {
                emit MouseMove(ButtonCode(mouse->buttons()), shift, x, y);
            } else {
                const bool wasPressed = m_pressed;
                m_pressed = false;
                emit MouseUp(ButtonCode(mouse->button()), shift, x, y);
                if (wasPressed && mouse->button() == Qt::LeftButton)
                    emit Click();
            }
            return false;  // the header still resizes its columns
        }
    }
    return QTableView::eventFilter(watched, event);
}

// ---- row dragging ----

void CVSFlexGrid::DragRow(int row)
{
    if (!m_rowMoving || !ViewIndex(row, 0).isValid())
        return;
    m_dragRow = RowHandle(row);
    m_dropRow = row;
    viewport()->update();
}

int CVSFlexGrid::DropTarget(const QPoint& pos) const
{
    const int shown = m_model->rowCount();
    if (shown == 0)
        return -1;
    int v = rowAt(pos.y());
    if (v < 0)
        v = pos.y() < 0 ? 0 : shown - 1;
    return m_model->FromView(v);
}

int CVSFlexGrid::DragRowNow() const
{
    return m_dragRow ? RowOfHandle(m_dragRow) : -1;
}

void CVSFlexGrid::FinishRowDrag(bool move)
{
    const int row = DragRowNow();
    int position = m_dropRow;
    m_dragRow = nullptr;
    m_dropRow = -1;
    viewport()->update();
    if (!move || row < 0 || position < 0 || position == row)
        return;
    emit BeforeMoveRow(row, position);
    if (position == row || position < FixedRows() || position >= Rows())
        return;
    MoveRow(row, position);
    emit AfterMoveRow(row, position);
}

void CVSFlexGrid::MoveRow(int row, int to)
{
    const bool current = Row() == row;
    m_model->MoveRow(row, to);
    if (current)
        SetRow(to);
}

void CVSFlexGrid::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    const int dragged = DragRowNow();
    if (dragged < 0 || m_dropRow < 0)
        return;
    const QModelIndex target = ViewIndex(m_dropRow, 0);
    if (!target.isValid())
        return;
    const QRect rect = visualRect(target);
    const int y = m_dropRow > dragged ? rect.bottom() : rect.top();
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Text), 2));
    painter.drawLine(0, y, viewport()->width(), y);
}

// ---- OLE dragging and drops ----

void CVSFlexGrid::SetOleDragMode(bool automatic)
{
    m_oleDrag = automatic;
    setDragEnabled(automatic);
}

void CVSFlexGrid::SetOleDropMode(bool manual)
{
    m_oleDrop = manual;
    setAcceptDrops(m_oleDrop || m_fileDrops);
    viewport()->setAcceptDrops(m_oleDrop || m_fileDrops);
}

void CVSFlexGrid::SetAcceptFileDrops(bool accept)
{
    m_fileDrops = accept;
    setAcceptDrops(m_oleDrop || m_fileDrops);
    viewport()->setAcceptDrops(m_oleDrop || m_fileDrops);
}

QMimeData* CVSFlexGrid::MakeOleDragData()
{
    auto* mime = new QMimeData;
    emit OleStartDrag(mime);
    return mime;
}

void CVSFlexGrid::startDrag(Qt::DropActions)
{
    if (!m_oleDrag || SelectedRows().empty())
        return;
    QMimeData* mime = MakeOleDragData();
    if (mime->formats().isEmpty()) {
        delete mime;
        return;
    }
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
}

bool CVSFlexGrid::AcceptsDrop(const QMimeData* mime) const
{
    return mime && (m_oleDrop || (m_fileDrops && mime->hasUrls()));
}

void CVSFlexGrid::dragEnterEvent(QDragEnterEvent* event)
{
    if (AcceptsDrop(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CVSFlexGrid::dragMoveEvent(QDragMoveEvent* event)
{
    if (AcceptsDrop(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CVSFlexGrid::dropEvent(QDropEvent* event)
{
    const QMimeData* mime = event->mimeData();
    if (!AcceptsDrop(mime)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    QStringList files;
    if (m_fileDrops && mime->hasUrls())
        for (const QUrl& url : mime->urls())
            if (url.isLocalFile())
                files.push_back(url.toLocalFile());
    if (!files.isEmpty())
        emit FilesDropped(files);
    else if (m_oleDrop)
        emit OleDragDrop(mime);
}
