#include "client/ui/frame/FramePlacement.h"

#include <algorithm>

QRect DefaultFrameRect(const QSize& workArea, int dpiX, int dpiY)
{
    const int width = std::min(workArea.width() * 77 / 80, 9 * dpiX);
    const int height = std::min(workArea.height() * 56 / 60, 7 * dpiY);
    return QRect((workArea.width() - width) / 2, (workArea.height() - height) / 2, width, height);
}

QRect ChooseFrameRect(int x, int y, int cx, int cy, const QSize& workArea, int dpiX, int dpiY,
                      const QList<QRect>& screens)
{
    if (cx == 0 || cy == 0)
        return DefaultFrameRect(workArea, dpiX, dpiY);
    const QRect saved(x, y, cx, cy);
    // A window saved on a screen that is gone would open where nobody sees it.
    const bool visible = screens.isEmpty() || std::any_of(screens.begin(), screens.end(), [&](const QRect& screen) {
                             return screen.intersects(saved);
                         });
    return visible ? saved : DefaultFrameRect(workArea, dpiX, dpiY);
}

int ChooseHomeWidth(int saved, int dpiX)
{
    return saved != 0 ? saved : static_cast<int>(5.5 * dpiX);
}
