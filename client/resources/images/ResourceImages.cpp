#include "client/resources/images/ResourceImages.h"

#include <mutex>

// The pictures live in a static library: register them before the first use,
// as nothing else keeps their initialiser linked.
static void InitPictures()
{
    Q_INIT_RESOURCE(pictures);
}

void EnsureResourceImages()
{
    static std::once_flag once;
    std::call_once(once, InitPictures);
}

QString BitmapResourcePath(unsigned id)
{
    EnsureResourceImages();
    return QStringLiteral(":/corvanta/bitmaps/%1.png").arg(id);
}

QPixmap LoadBitmapResource(unsigned id)
{
    return QPixmap(BitmapResourcePath(id));
}

QIcon LoadIconResource(unsigned id)
{
    EnsureResourceImages();
    return QIcon(QStringLiteral(":/corvanta/icons/%1.png").arg(id));
}

QList<QPixmap> LoadAnimationFrames(unsigned id)
{
    EnsureResourceImages();
    // A horizontal strip of square frames, as tall as the picture.
    const QPixmap strip(QStringLiteral(":/corvanta/animations/%1.png").arg(id));
    QList<QPixmap> frames;
    const int side = strip.height();
    for (int x = 0; side > 0 && x + side <= strip.width(); x += side)
        frames.append(strip.copy(x, 0, side, side));
    return frames;
}
