#include "client/ui/frame/FramePlacement.h"

#include <algorithm>

QRect DefaultFrameRect(const QSize& workArea, int dpiX, int dpiY)
{
    const int width = std::min(workArea.width() * 77 / 80, 9 * dpiX);
    const int height = std::min(workArea.height() * 56 / 60, 7 * dpiY);
    return QRect((workArea.width() - width) / 2, (workArea.height() - height) / 2, width, height);
}

QRect ChooseFrameRect(int x, int y, int cx, int cy, const QSize& workArea, int dpiX, int dpiY)
{
    if (cx == 0 || cy == 0)
        return DefaultFrameRect(workArea, dpiX, dpiY);
    return QRect(x, y, cx, cy);
}

int ChooseHomeWidth(int saved, int dpiX)
{
    return saved != 0 ? saved : static_cast<int>(5.5 * dpiX);
}
