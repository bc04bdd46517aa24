#pragma once
// The pictures of the resource library by their resource numbers.
#include <QIcon>
#include <QPixmap>
#include <QString>

/// ":/corvanta/bitmaps/<id>.png"
QString BitmapResourcePath(unsigned id);
/// A null pixmap when there is no such picture.
QPixmap LoadBitmapResource(unsigned id);
QIcon LoadIconResource(unsigned id);
/// The animation's frames, in playing order (empty when there is none).
QList<QPixmap> LoadAnimationFrames(unsigned id);
