#pragma once
// Dialog templates give positions and sizes in dialog units: a quarter of the
// average character width across, an eighth of the character height down, of
// the dialog's font. Every pane lays out its template through this helper.
#include "client/ui/shell/ControlId.h"

#include <QRect>
#include <QWidget>

/// The pixels of a rectangle of dialog units in dialog's font.
QRect DialogUnitsToPixels(const QWidget* dialog, const QRect& units);

/// Puts control (a child of dialog) where the template places it, in dialog
/// units, with its control id (0: none); returns it.
template <class Control>
Control* PlaceControl(QWidget* dialog, Control* control, int id, const QRect& units)
{
    control->setGeometry(DialogUnitsToPixels(dialog, units));
    if (id != 0)
        SetControlId(control, id);
    return control;
}
