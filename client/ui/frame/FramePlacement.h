#pragma once
// Where the main window opens: the saved rectangle, or a default placement
// computed from the work area and the screen's pixels per inch; and the width
// of its left column.
#include <QList>
#include <QRect>
#include <QSize>

/// Width W * 77 / 80 at most 9 inches, height H * 56 / 60 at most 7 inches,
/// centred in a work area of workArea (its own origin not added).
QRect DefaultFrameRect(const QSize& workArea, int dpiX, int dpiY);
/// The saved rectangle, unless its width or height is 0, or it lies wholly
/// outside every screen in screens (when given): then the default.
QRect ChooseFrameRect(int x, int y, int cx, int cy, const QSize& workArea, int dpiX, int dpiY,
                      const QList<QRect>& screens = {});
/// The saved width, or 5.5 inches when it is 0.
int ChooseHomeWidth(int saved, int dpiX);
