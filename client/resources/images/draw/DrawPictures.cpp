// Draws the client's pictures into PNG files: run once, commit the output.
//   DrawPictures <folder>   writes bitmaps/, icons/ and animations/ under it
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cstdio>
#include <functional>

namespace {

const QColor kInk(40, 40, 48);
const QColor kAccent(255, 102, 0);
const QColor kBlue(0, 0, 102);

QImage Canvas(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void Save(const QImage& image, const QString& path)
{
    if (!image.save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

void Draw(QImage& image, const std::function<void(QPainter&)>& paint)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
}

void Note(QPainter& p, QPointF head, double size, const QColor& color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(head, size * 0.32, size * 0.24);
    p.fillRect(QRectF(head.x() + size * 0.22, head.y() - size * 0.8, size * 0.1, size * 0.8), color);
    QPainterPath flag;
    flag.moveTo(head.x() + size * 0.32, head.y() - size * 0.8);
    flag.cubicTo(head.x() + size * 0.6, head.y() - size * 0.6, head.x() + size * 0.5, head.y() - size * 0.4,
                 head.x() + size * 0.62, head.y() - size * 0.3);
    flag.lineTo(head.x() + size * 0.32, head.y() - size * 0.55);
    p.drawPath(flag);
}

void Person(QPainter& p, const QColor& color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QPointF(8, 5), 3, 3);
    p.drawRoundedRect(QRectF(3, 9, 10, 6), 3, 3);
}

// Row pictures of the item lists, 16 by 16.
void RowPictures(const QString& dir)
{
    QImage artist = Canvas(16, 16);  // a microphone
    Draw(artist, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawRoundedRect(QRectF(5.5, 1, 5, 8), 2.5, 2.5);
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3.5, 3, 9, 8), 180 * 16, 180 * 16);
        p.drawLine(QPointF(8, 11), QPointF(8, 14));
        p.drawLine(QPointF(5, 14.5), QPointF(11, 14.5));
    });
    Save(artist, dir + "/160.png");

    QImage playlist = Canvas(16, 16);  // a sheet with lines and a note
    Draw(playlist, [](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(250, 250, 240));
        p.drawRect(QRectF(1.5, 1.5, 12, 13));
        for (int y = 4; y <= 12; y += 3)
            p.drawLine(QPointF(3.5, y + 0.5), QPointF(8.5, y + 0.5));
        Note(p, QPointF(11, 12), 8, kAccent);
    });
    Save(playlist, dir + "/161.png");

    QImage performance = Canvas(16, 16);  // a note
    Draw(performance, [](QPainter& p) { Note(p, QPointF(6, 12.5), 14, kBlue); });
    Save(performance, dir + "/162.png");

    QImage playmaker = Canvas(16, 16);  // a person
    Draw(playmaker, [](QPainter& p) { Person(p, QColor(0, 102, 153)); });
    Save(playmaker, dir + "/163.png");
}

// The suggestions grid's mark of a track with a preview, 16 by 16: a speaker
// with two sound waves.
void PreviewPicture(const QString& dir)
{
    QImage preview = Canvas(16, 16);
    Draw(preview, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawPolygon(QPolygonF({QPointF(1.5, 6), QPointF(4.5, 6), QPointF(8.5, 2.5), QPointF(8.5, 13.5),
                                 QPointF(4.5, 10), QPointF(1.5, 10)}));
        p.setPen(QPen(kAccent, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(6, 5, 5, 6), -50 * 16, 100 * 16);
        p.drawArc(QRectF(5.5, 2.5, 9, 11), -55 * 16, 110 * 16);
    });
    Save(preview, dir + "/207.png");
}

// The welcome and About picture.
void Splash(const QString& dir)
{
    QImage image(200, 120, QImage::Format_ARGB32);
    Draw(image, [](QPainter& p) {
        QLinearGradient sky(0, 0, 0, 120);
        sky.setColorAt(0, kBlue);
        sky.setColorAt(1, QColor(0, 0, 30));
        p.fillRect(QRect(0, 0, 200, 120), sky);
        p.setPen(QPen(QColor(255, 255, 255, 60), 1));
        for (int i = 0; i < 5; ++i)
            p.drawLine(0, 70 + i * 8, 200, 70 + i * 8);
        Note(p, QPointF(40, 100), 40, kAccent);
        Note(p, QPointF(150, 92), 28, QColor(255, 255, 255));
        QFont font("Verdana");
        font.setPixelSize(26);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 10, 200, 40), Qt::AlignCenter, "Corvanta");
        font.setPixelSize(12);
        p.setFont(font);
        p.setPen(kAccent);
        p.drawText(QRect(0, 44, 200, 20), Qt::AlignCenter, "Beta");
    });
    Save(image, dir + "/183.png");
}

// The detail viewer's buttons: normal, pressed and hover of back, forward,
// stop and refresh, 20 by 18.
void BrowserButtons(const QString& dir)
{
    enum Shape { Back, Forward, Stop, Refresh };
    auto button = [&](Shape shape, int state, int id) {
        QImage image = Canvas(20, 18);
        Draw(image, [&](QPainter& p) {
            const QColor face = state == 1   ? QColor(150, 150, 150)
                                : state == 2 ? QColor(235, 235, 235)
                                             : QColor(212, 208, 200);
            p.setPen(QPen(state == 1 ? QColor(90, 90, 90) : QColor(160, 160, 160), 1));
            p.setBrush(face);
            p.drawRoundedRect(QRectF(0.5, 0.5, 19, 17), 3, 3);
            const QColor ink = state == 2 ? kAccent : kInk;
            const double shift = state == 1 ? 1 : 0;
            p.translate(shift, shift);
            p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(ink);
            switch (shape) {
            case Back:
                p.drawPolygon(QPolygonF({QPointF(5, 9), QPointF(11, 4), QPointF(11, 14)}));
                p.drawLine(QPointF(11, 9), QPointF(15, 9));
                break;
            case Forward:
                p.drawPolygon(QPolygonF({QPointF(15, 9), QPointF(9, 4), QPointF(9, 14)}));
                p.drawLine(QPointF(5, 9), QPointF(9, 9));
                break;
            case Stop:
                p.drawLine(QPointF(6, 5), QPointF(14, 13));
                p.drawLine(QPointF(14, 5), QPointF(6, 13));
                break;
            case Refresh:
                p.setBrush(Qt::NoBrush);
                p.drawArc(QRectF(5, 4, 10, 10), 30 * 16, 280 * 16);
                p.setBrush(ink);
                p.setPen(Qt::NoPen);
                p.drawPolygon(QPolygonF({QPointF(13, 2.5), QPointF(16.5, 6.5), QPointF(11.5, 7.5)}));
                break;
            }
        });
        Save(image, QString("%1/%2.png").arg(dir).arg(id));
    };
    // Numbers: pressed and hover pairs, then the normal picture of each.
    button(Back, 1, 186);
    button(Back, 2, 187);
    button(Refresh, 1, 188);
    button(Refresh, 2, 189);
    button(Forward, 1, 190);
    button(Forward, 2, 191);
    button(Stop, 1, 192);
    button(Stop, 2, 193);
    button(Back, 0, 194);
    button(Refresh, 0, 195);
    button(Forward, 0, 196);
    button(Stop, 0, 197);
}

void Icon(const QString& dir)
{
    QImage image = Canvas(64, 64);
    Draw(image, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
        Note(p, QPointF(26, 48), 44, kAccent);
    });
    Save(image, dir + "/128.png");
}

// The progress loop: twelve frames of a ring of dots whose bright dot goes
// round, with a note in the middle; 48 by 48 each, side by side.
void Animation(const QString& dir)
{
    constexpr int kFrames = 12, kSide = 48;
    QImage strip = Canvas(kFrames * kSide, kSide);
    Draw(strip, [&](QPainter& p) {
        for (int f = 0; f < kFrames; ++f) {
            const QPointF centre(f * kSide + kSide / 2.0, kSide / 2.0);
            for (int d = 0; d < kFrames; ++d) {
                const double angle = 2 * M_PI * d / kFrames - M_PI / 2;
                const int age = (f - d + kFrames) % kFrames;
                QColor dot = kAccent;
                dot.setAlpha(age == 0 ? 255 : qMax(40, 220 - age * 30));
                p.setPen(Qt::NoPen);
                p.setBrush(dot);
                p.drawEllipse(centre + QPointF(18 * std::cos(angle), 18 * std::sin(angle)), 3.2, 3.2);
            }
            Note(p, centre + QPointF(-3, 8), 18, kBlue);
        }
    });
    Save(strip, dir + "/180.png");
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: DrawPictures <folder>\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (const char* sub : {"bitmaps", "icons", "animations"})
        QDir(root).mkpath(sub);
    RowPictures(root + "/bitmaps");
    PreviewPicture(root + "/bitmaps");
    Splash(root + "/bitmaps");
    BrowserButtons(root + "/bitmaps");
    Icon(root + "/icons");
    Animation(root + "/animations");
    return 0;
}
