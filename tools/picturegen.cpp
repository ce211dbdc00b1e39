// Draws the calculator's pictures and writes them into a folder:
//   formula.bmp  201x194, 1 bit per pixel, the Ohm's law circle of the main window
//   warning.png  252x252 RGBA, the About box's program icon
//   emblem.png   83x100 RGBA, the About box's emblem
//   *@2x.*       each of these drawn at twice the size, for screens at a scale of 2
//   icons/velorin.svg    the desktop icon's scalable drawing (DesktopIcon.h)
//   icons/velorin-N.png  that drawing laid out for N = 16 .. 256 pixels and rendered
// Everything is drawn from the same shapes at each size rather than scaled from pixels, so no
// size is blurry. The pictures are committed; run this again only to change them:
//   picturegen src/app/resources
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTextStream>

#include "DesktopIcon.h"

namespace {

const QString kOmega = QStringLiteral("\u03A9");

QFont PictureFont(int pixelSize, bool bold)
{
    QFont f;
    f.setFamilies({QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    // The formula picture ends up 1 bit deep; grey edge pixels would only turn into noise.
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

void Text(QPainter& p, const QRectF& box, const QString& text, int pixelSize, bool bold,
          Qt::Alignment align = Qt::AlignCenter)
{
    p.setFont(PictureFont(pixelSize, bold));
    p.drawText(box, static_cast<int>(align.toInt()), text);
}

QImage Formula(int scale)
{
    QImage img(201 * scale, 194 * scale, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.scale(scale, scale);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(Qt::NoBrush);

    const QRectF circle(4, 1, 192, 192);
    const QPointF c = circle.center();
    p.drawEllipse(circle);
    p.drawLine(QPointF(circle.left(), c.y()), QPointF(circle.right(), c.y()));
    p.drawLine(QPointF(c.x(), c.y()), QPointF(c.x(), circle.bottom()));

    // Upper half: the voltage.
    Text(p, QRectF(c.x() - 40, 14, 80, 52), QStringLiteral("V"), 52, true);
    Text(p, QRectF(c.x() - 40, 64, 80, 24), QStringLiteral("Volt"), 20, false);
    Text(p, QRectF(c.x() - 44, 16, 20, 18), QStringLiteral("V"), 14, false);

    // Lower half, left: the current; right: the resistance.
    const double lx = c.x() - 46, rx = c.x() + 46;
    Text(p, QRectF(lx - 30, c.y() + 6, 60, 48), QStringLiteral("I"), 46, true);
    Text(p, QRectF(lx - 30, c.y() + 52, 60, 22), QStringLiteral("Amp"), 18, false);
    Text(p, QRectF(lx - 36, c.y() + 8, 18, 16), QStringLiteral("A"), 13, false);
    Text(p, QRectF(rx - 30, c.y() + 6, 60, 48), QStringLiteral("R"), 46, true);
    Text(p, QRectF(rx - 30, c.y() + 52, 60, 22), QStringLiteral("Ohm"), 18, false);
    Text(p, QRectF(rx - 38, c.y() + 8, 18, 16), kOmega, 13, false);
    p.end();
    return img.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither | Qt::MonoOnly);
}

// The About box's program picture, in its own 252 by 252 units.
const QPolygonF kTriangle({QPointF(126, 14), QPointF(240, 230), QPointF(12, 230)});
const QRectF kOmegaBox(56, 52, 140, 130);
const QRectF kZigzagBox(62, 184, 128, 24);
const QColor kWarningYellow(255, 214, 0);

QFont OmegaFont()
{
    QFont f = PictureFont(124, true);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QImage Warning(int size)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 252.0, size / 252.0);

    p.setPen(QPen(Qt::black, 18, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kWarningYellow);
    p.drawPolygon(kTriangle);

    p.setFont(OmegaFont());
    p.setPen(Qt::black);
    p.drawText(kOmegaBox, Qt::AlignCenter, kOmega);

    p.setPen(QPen(Qt::black, 9, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(Zigzag(kZigzagBox, 4));
    p.end();
    return img;
}

QImage Emblem(int scale)
{
    QImage img(83 * scale, 100 * scale, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);

    // A shield carrying a lightning bolt: the program's mark.
    QPainterPath shield(QPointF(41.5, 3));
    shield.cubicTo(QPointF(56, 10), QPointF(68, 11), QPointF(79, 10));
    shield.cubicTo(QPointF(80, 52), QPointF(68, 80), QPointF(41.5, 97));
    shield.cubicTo(QPointF(15, 80), QPointF(3, 52), QPointF(4, 10));
    shield.cubicTo(QPointF(15, 11), QPointF(27, 10), QPointF(41.5, 3));
    QLinearGradient fill(0, 0, 0, 100);
    fill.setColorAt(0, QColor(40, 110, 200));
    fill.setColorAt(1, QColor(12, 40, 110));
    p.setPen(QPen(QColor(8, 24, 64), 3));
    p.setBrush(fill);
    p.drawPath(shield);

    const QPolygonF bolt({QPointF(47, 16), QPointF(24, 54), QPointF(40, 54), QPointF(33, 86), QPointF(60, 42),
                          QPointF(44, 42), QPointF(54, 16)});
    p.setPen(QPen(QColor(120, 70, 0), 1.5));
    p.setBrush(QColor(255, 214, 0));
    p.drawPolygon(bolt);
    p.end();
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: picturegen OUTPUT_FOLDER\n";
        return 2;
    }
    QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = out.mkpath(QStringLiteral("icons"));
    auto save = [&](const QImage& image, const QString& name, const char* format) {
        ok = ok && image.save(out.filePath(name), format);
    };
    save(Formula(1), QStringLiteral("formula.bmp"), "BMP");
    save(Formula(2), QStringLiteral("formula@2x.bmp"), "BMP");
    save(Warning(252), QStringLiteral("warning.png"), "PNG");
    save(Warning(504), QStringLiteral("warning@2x.png"), "PNG");
    save(Emblem(1), QStringLiteral("emblem.png"), "PNG");
    save(Emblem(2), QStringLiteral("emblem@2x.png"), "PNG");
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        save(RenderSvg(DesktopIconSvg(size), size), QStringLiteral("icons/velorin-%1.png").arg(size), "PNG");
    QFile svg(out.filePath(QStringLiteral("icons/velorin.svg")));
    ok = ok && svg.open(QIODevice::WriteOnly | QIODevice::Truncate) && svg.write(DesktopIconSvg(0).toUtf8()) > 0;
    if (!ok)
        err << "picturegen: could not write into " << out.path() << "\n";
    return ok ? 0 : 1;
}
