#include "client/ui/grid/GridDelegate.h"

#include "client/ui/grid/GridModel.h"
#include "client/ui/grid/VSFlexGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>

namespace {

const char* const kEditIndex = "corvantaEditIndex";

// A line edit with an optional "..." button beside it.
class CCellEditor : public QWidget {
public:
    CCellEditor(QWidget* parent, bool withButton) : QWidget(parent), edit(new QLineEdit(this))
    {
        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(edit);
        edit->setFrame(false);
        if (withButton) {
            this->button = new QToolButton(this);
            this->button->setText(QStringLiteral("..."));
            this->button->setObjectName(QStringLiteral("cellButton"));
            layout->addWidget(this->button);
        }
        setFocusProxy(edit);
        setAutoFillBackground(true);
    }

    QLineEdit* edit;
    QToolButton* button = nullptr;
    bool closed = false;  // closed by its button; focus changes no longer commit
};

int ShiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

}  // namespace

CGridDelegate::CGridDelegate(CVSFlexGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

QRect CGridDelegate::SymbolRect(const QRect& cell, int level)
{
    const int side = std::min(kIndent, cell.height()) - 6;
    return {cell.left() + level * kIndent + (kIndent - side) / 2, cell.top() + (cell.height() - side) / 2, side, side};
}

int CGridDelegate::GridRow(const QModelIndex& index) const
{
    return m_grid->m_model->FromView(index.row());
}

void CGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const CGridModel& model = *m_grid->m_model;
    const int row = GridRow(index);
    const int col = index.column();
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    opt.icon = QIcon();
    opt.features &= ~QStyleOptionViewItem::HasDecoration;
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);

    painter->save();
    QRect rect = option.rect.adjusted(3, 0, -3, 0);
    if (col == 0 && m_grid->m_outlineBar) {
        const int level = model.Level(row);
        // Plain rows stand one step in from the node row above them.
        rect.setLeft(option.rect.left() + (level + (model.IsNode(row) ? 1 : 2)) * kIndent);
        if (model.IsNode(row) && model.GetNodeRow(row, CGridModel::kFirstChild) >= 0) {
            const QRect box = SymbolRect(option.rect, level);
            painter->setPen(option.palette.color(QPalette::Text));
            painter->setBrush(option.palette.color(QPalette::Base));
            painter->drawRect(box);
            const QPoint c = box.center();
            painter->drawLine(box.left() + 2, c.y(), box.right() - 2, c.y());
            if (model.IsCollapsed(row))
                painter->drawLine(c.x(), box.top() + 2, c.x(), box.bottom() - 2);
        }
    }
    const QPixmap picture = model.Picture(row, col);
    if (!picture.isNull()) {
        QSize size = picture.deviceIndependentSize().toSize();
        if (size.height() > rect.height())
            size = size.scaled(size.width(), rect.height(), Qt::KeepAspectRatio);
        const Qt::Alignment placement = model.PictureAlignment(row, col);
        QRect target;
        if (placement) {
            target = QStyle::alignedRect(option.direction, placement, size, rect);
        } else {
            target = QRect(QPoint(rect.left(), rect.top() + (rect.height() - size.height()) / 2), size);
            rect.setLeft(target.right() + 4);
        }
        painter->drawPixmap(target, picture);
    }
    if (!text.isEmpty()) {
        const QColor own = model.ForeColor(row, col);
        const bool selected = option.state & QStyle::State_Selected;
        painter->setPen(own.isValid() ? own
                                      : option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        const Qt::Alignment alignment = model.ColAlignment(col) | Qt::AlignVCenter;
        painter->drawText(rect, static_cast<int>(alignment) | Qt::TextSingleLine,
                          option.fontMetrics.elidedText(text, Qt::ElideRight, rect.width()));
    }
    painter->restore();
}

QWidget* CGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    const int row = GridRow(index);
    const int col = index.column();
    m_grid->m_editMaxLength = 0;
    m_grid->m_comboList = static_cast<std::size_t>(col) < m_grid->m_colComboLists.size()
                              ? m_grid->m_colComboLists[static_cast<std::size_t>(col)]
                              : QString();
    bool cancel = false;
    emit m_grid->BeforeEdit(row, col, cancel);
    if (!cancel)
        emit m_grid->StartEdit(row, col, cancel);
    if (cancel)
        return nullptr;

    const QString list = m_grid->m_comboList;
    QWidget* editor = nullptr;
    if (!list.isEmpty() && list != QLatin1String("...")) {
        auto* combo = new QComboBox(parent);
        combo->addItems(list.split(u'|'));
        editor = combo;
    } else {
        auto* cell = new CCellEditor(parent, list == QLatin1String("..."));
        if (m_grid->m_editMaxLength > 0)
            cell->edit->setMaxLength(m_grid->m_editMaxLength);
        cell->edit->installEventFilter(const_cast<CGridDelegate*>(this));
        if (cell->button) {
            auto* self = const_cast<CGridDelegate*>(this);
            connect(cell->button, &QToolButton::clicked, self, [self, cell] {
                const QPersistentModelIndex at = cell->property(kEditIndex).value<QPersistentModelIndex>();
                cell->closed = true;
                emit self->commitData(cell);
                emit self->closeEditor(cell);
                if (at.isValid())
                    emit self->m_grid->CellButtonClick(self->GridRow(at), at.column());
            });
        }
        editor = cell;
    }
    editor->setProperty(kEditIndex, QVariant::fromValue(QPersistentModelIndex(index)));
    return editor;
}

void CGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const QString text = index.data(Qt::EditRole).toString();
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        const int found = combo->findText(text);
        combo->setCurrentIndex(found >= 0 ? found : 0);
    } else if (auto* cell = dynamic_cast<CCellEditor*>(editor)) {
        cell->edit->setText(text);
        cell->edit->selectAll();
    }
}

void CGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    QString text;
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        text = combo->currentText();
    else if (auto* cell = dynamic_cast<CCellEditor*>(editor))
        text = cell->edit->text();
    else
        return;
    const int row = GridRow(index);
    bool cancel = false;
    emit m_grid->ValidateEdit(row, index.column(), cancel);
    if (cancel)
        return;
    model->setData(index, text, Qt::EditRole);
    emit m_grid->AfterEdit(row, index.column());
}

void CGridDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const
{
    editor->setGeometry(option.rect);
}

bool CGridDelegate::eventFilter(QObject* watched, QEvent* event)
{
    // Key events reach the inner line edit; the editor the view knows is its parent.
    QWidget* editor = qobject_cast<QWidget*>(watched);
    const bool isKey = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (qobject_cast<QLineEdit*>(watched) && dynamic_cast<CCellEditor*>(watched->parent()))
        editor = static_cast<QWidget*>(watched->parent());
    else if (isKey && dynamic_cast<CCellEditor*>(watched))
        return true;  // the inner edit's keys bubbling up: already handled there
    if (!editor)
        return QStyledItemDelegate::eventFilter(watched, event);
    // A cell editor the view has let go (hidden, deleted later) keeps the
    // filter on its inner edit: its last focus change commits nothing.
    if (auto* cell = dynamic_cast<CCellEditor*>(editor); cell && (cell->closed || !cell->isVisible()))
        return false;
    const QPersistentModelIndex at = editor->property(kEditIndex).value<QPersistentModelIndex>();
    if (at.isValid() && isKey) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        const int row = GridRow(at);
        int key = keyEvent->key();
        if (event->type() == QEvent::KeyRelease) {
            emit m_grid->KeyUpEdit(row, at.column(), key, ShiftState(keyEvent->modifiers()));
            if (key == 0)
                return true;
        } else {
            emit m_grid->KeyDownEdit(row, at.column(), key, ShiftState(keyEvent->modifiers()));
            if (key == 0)
                return true;
            if (!keyEvent->text().isEmpty()) {
                int character = keyEvent->text().at(0).unicode();
                emit m_grid->KeyPressEdit(row, at.column(), character);
                if (character == 0)
                    return true;
            }
        }
    }
    return QStyledItemDelegate::eventFilter(editor, event);
}
