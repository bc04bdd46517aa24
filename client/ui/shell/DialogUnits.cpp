#include "client/ui/shell/DialogUnits.h"

#include <QFontMetrics>
#include <QWidget>

namespace {

int Scale(int units, int base, int divisor)
{
    // Rounded to the nearest pixel, as the platform's MulDiv rounds.
    const long long product = static_cast<long long>(units) * base;
    return static_cast<int>((product >= 0 ? product + divisor / 2 : product - divisor / 2) / divisor);
}

}  // namespace

QRect DialogUnitsToPixels(const QWidget* dialog, const QRect& units)
{
    const QFontMetrics metrics(dialog->font());
    // The average width of the 52 letters, rounded.
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int baseX = (letters / 26 + 1) / 2;
    const int baseY = metrics.height();
    return QRect(Scale(units.x(), baseX, 4), Scale(units.y(), baseY, 8), Scale(units.width(), baseX, 4),
                 Scale(units.height(), baseY, 8));
}
