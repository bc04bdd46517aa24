#pragma once
// Draws the cells of CVSFlexGrid (outline indentation and symbols, pictures,
// cell text colours) and makes its cell editors, telling the grid's edit events.
#include <QStyledItemDelegate>

class CVSFlexGrid;

class CGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CGridDelegate(CVSFlexGrid* grid);

    /// Indentation per outline level and the square of the outline symbol.
    static constexpr int kIndent = 16;
    /// Where the outline symbol of a row at level sits in its first cell.
    static QRect SymbolRect(const QRect& cell, int level);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int GridRow(const QModelIndex& index) const;

    CVSFlexGrid* m_grid;
};
