#pragma once
// What the editing panes and dialogs share to build their templates: controls
// placed by dialog units and numbered, and the line breaks of multi-line texts.
#include <QRect>
#include <QString>

#include <initializer_list>
#include <string>

class CColorButton;
class QPlainTextEdit;
class QPushButton;
class QWidget;

/// Numbers control with id (when not 0) and places it at units of its parent's template.
void PlaceControl(QWidget* control, int id, const QRect& units);
/// A push button with text, numbered and placed.
QPushButton* MakeTemplateButton(QWidget* parent, const QString& text, int id, const QRect& units);

/// An owner-drawn button with caption, numbered and placed.
CColorButton* MakeColorButton(QWidget* parent, const char* caption, int id, const QRect& units);
/// The panes' layout on resize: grid keeps its left and top edges and reaches
/// rightMargin pixels short of the pane's right edge and the band of buttonBand
/// pixels at its bottom; the buttons keep their horizontal places and are
/// centred in that band.
void LayOutGridAndButtons(const QWidget& pane, QWidget& grid, int rightMargin, int buttonBand,
                          std::initializer_list<QWidget*> buttons);

/// The edit keeps at most limit characters, as a single-line edit's maximum length does.
void LimitPlainText(QPlainTextEdit* edit, int limit);

/// Records keep the system's line breaks ("\r\n"); edit controls show "\n".
QString ToEditText(const std::string& text);
std::string FromEditText(const QString& text);
