#pragma once
// The pictures of the resource library by their resource numbers.
#include <QIcon>
#include <QPixmap>
#include <QString>

/// Registers the pictures under ":/corvanta/"; the loaders below call it, code
/// that opens the paths itself calls it first.
void EnsureResourceImages();
/// ":/corvanta/bitmaps/<id>.png"
QString BitmapResourcePath(unsigned id);
/// A null pixmap when there is no such picture.
QPixmap LoadBitmapResource(unsigned id);
QIcon LoadIconResource(unsigned id);
/// The animation's frames, in playing order (empty when there is none).
QList<QPixmap> LoadAnimationFrames(unsigned id);
