#include "client/ui/shell/ControlId.h"

#include <QVariant>
#include <QWidget>

#include <deque>

namespace {
constexpr const char* kControlIdProperty = "controlId";
}

void SetControlId(QWidget* widget, int id)
{
    widget->setProperty(kControlIdProperty, id);
    if (widget->objectName().isEmpty() || widget->objectName().startsWith(QLatin1String("id_")))
        widget->setObjectName(QStringLiteral("id_%1").arg(id));
}

int ControlId(const QWidget* widget)
{
    return widget ? widget->property(kControlIdProperty).toInt() : 0;
}

QWidget* FindControl(const QWidget* parent, int id)
{
    if (!parent)
        return nullptr;
    std::deque<const QWidget*> queue{parent};
    while (!queue.empty()) {
        const QWidget* current = queue.front();
        queue.pop_front();
        for (QObject* child : current->children()) {
            auto* widget = qobject_cast<QWidget*>(child);
            if (!widget)
                continue;
            if (ControlId(widget) == id)
                return widget;
            queue.push_back(widget);
        }
    }
    return nullptr;
}
