#pragma once
// Every window built from a template keeps its control id, so that code and
// tests reach it by number. The id is the widget's "controlId" property; a
// widget without a window name of its own is also named "id_<n>".
class QWidget;

void SetControlId(QWidget* widget, int id);
/// The widget's control id, or 0 when it has none.
int ControlId(const QWidget* widget);

/// The descendant of parent with control id: the direct children first, then
/// their descendants, breadth first. nullptr when there is none.
QWidget* FindControl(const QWidget* parent, int id);

template <class T>
T* FindControlAs(const QWidget* parent, int id)
{
    return dynamic_cast<T*>(FindControl(parent, id));
}
