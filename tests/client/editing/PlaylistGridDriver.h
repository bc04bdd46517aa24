#pragma once
// The playlist editor's track grid as a member uses it: a click on a cell
// opens its editor, text is typed key by key, Enter commits it.
#include "client/editing/PlaylistEditGridCtrl.h"
#include "client/editing/PlaylistEditModel.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

/// Types text into widget key by key; letters beyond ASCII arrive as the
/// text of keys the keyboard map does not name, as an input method sends them.
inline void TypeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

class CPlaylistGridDriver {
public:
    explicit CPlaylistGridDriver(CPlaylistEditGridCtrl& grid) : m_grid(grid) {}

    /// Track rows and the blank row.
    int Rows() const { return m_grid.GetRowCount(); }
    std::string Cell(int index, int column) const { return m_grid.GetCellText(index, column); }
    /// The match column's text ("match", "click here", ...).
    std::string State(int index) const { return Cell(index, 3); }
    QPoint CellPoint(int index, int column) const
    {
        return m_grid.CellRect(index + m_grid.FixedRows(), column).center();
    }
    void ClickCell(int index, int column)
    {
        QTest::mouseClick(m_grid.viewport(), Qt::LeftButton, {}, CellPoint(index, column));
    }
    void RightClickCell(int index, int column)
    {
        QTest::mouseClick(m_grid.viewport(), Qt::RightButton, {}, CellPoint(index, column));
    }
    /// The cell editor that is open; nullptr when none.
    QLineEdit* CellEditor() const
    {
        for (QLineEdit* edit : m_grid.viewport()->findChildren<QLineEdit*>())
            if (edit->isVisible())
                return edit;
        return nullptr;
    }
    /// Clicks a cell, types text over what it shows and presses Enter.
    void TypeIntoCell(int index, int column, const QString& text)
    {
        ClickCell(index, column);
        QLineEdit* edit = CellEditor();
        ASSERT_NE(edit, nullptr) << "no editor in row " << index << " column " << column;
        edit->selectAll();
        TypeText(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
        // The item view commits on Enter from a queued call.
        QCoreApplication::processEvents();
    }
    /// Artist, then title, into the blank row; returns the row it became.
    int TypeTrack(const std::string& artist, const std::string& title)
    {
        const int row = Rows() - 1;
        TypeIntoCell(row, 0, QString::fromStdString(artist));
        TypeIntoCell(row, 1, QString::fromStdString(title));
        return row;
    }

private:
    CPlaylistEditGridCtrl& m_grid;
};
