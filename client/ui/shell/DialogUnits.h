#pragma once
// Dialog templates give positions and sizes in dialog units: a quarter of the
// average character width across, an eighth of the character height down, of
// the dialog's font. Every pane lays out its template through this helper.
#include <QRect>

class QWidget;

/// The pixels of a rectangle of dialog units in dialog's font.
QRect DialogUnitsToPixels(const QWidget* dialog, const QRect& units);
