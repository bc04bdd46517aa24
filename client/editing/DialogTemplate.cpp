#include "client/editing/DialogTemplate.h"

#include "client/ui/shell/ColorButton.h"
#include "client/ui/shell/ControlId.h"
#include "client/ui/shell/DialogUnits.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

void PlaceControl(QWidget* control, int id, const QRect& units)
{
    if (id != 0)
        SetControlId(control, id);
    control->setGeometry(DialogUnitsToPixels(control->parentWidget(), units));
}

QPushButton* MakeTemplateButton(QWidget* parent, const QString& text, int id, const QRect& units)
{
    auto* button = new QPushButton(text, parent);
    PlaceControl(button, id, units);
    return button;
}

CColorButton* MakeColorButton(QWidget* parent, const char* caption, int id, const QRect& units)
{
    auto* button = new CColorButton(QString::fromUtf8(caption), parent);
    PlaceControl(button, id, units);
    return button;
}

void LayOutGridAndButtons(const QWidget& pane, QWidget& grid, int rightMargin, int buttonBand,
                          std::initializer_list<QWidget*> buttons)
{
    const QPoint at = grid.pos();
    grid.resize(pane.width() - rightMargin - at.x(), pane.height() - buttonBand - at.y());
    const int bandTop = grid.geometry().bottom() + 1;
    for (QWidget* button : buttons)
        button->move(button->x(), bandTop + (buttonBand - button->height()) / 2);
}

void LimitPlainText(QPlainTextEdit* edit, int limit)
{
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, limit] {
        if (edit->document()->characterCount() - 1 <= limit)
            return;
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(limit);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    });
}

QString ToEditText(const std::string& text)
{
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string FromEditText(const QString& text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return lines.replace(u'\n', QStringLiteral("\r\n")).toStdString();
}
