#include "client/resources/images/ResourceImages.h"

QString BitmapResourcePath(unsigned id)
{
    return QStringLiteral(":/corvanta/bitmaps/%1.png").arg(id);
}

QPixmap LoadBitmapResource(unsigned id)
{
    return QPixmap(BitmapResourcePath(id));
}

QIcon LoadIconResource(unsigned id)
{
    return QIcon(QStringLiteral(":/corvanta/icons/%1.png").arg(id));
}

QList<QPixmap> LoadAnimationFrames(unsigned id)
{
    // A horizontal strip of square frames, as tall as the picture.
    const QPixmap strip(QStringLiteral(":/corvanta/animations/%1.png").arg(id));
    QList<QPixmap> frames;
    const int side = strip.height();
    for (int x = 0; side > 0 && x + side <= strip.width(); x += side)
        frames.append(strip.copy(x, 0, side, side));
    return frames;
}
