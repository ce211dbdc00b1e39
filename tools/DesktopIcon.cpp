#include "DesktopIcon.h"

#include <QBuffer>
#include <QColor>
#include <QImageReader>
#include <QPoint>
#include <QPointF>
#include <QStringList>
#include <QtMath>
#include <cmath>
#include <vector>

namespace {

const QColor kYellow(255, 214, 0);
// Mid amber: 3.2:1 or more against white, a light desktop's window colour and the dark panels of
// Breeze and Adwaita; black would vanish on the dark ones.
const QColor kRim(176, 120, 0);
const QColor kInk(43, 33, 0);

// A glyph set from whole pixels: '#' is ink.
using TPixels = std::vector<const char*>;

// Everything in the canvas's own units: 256 for the master, pixels for a size.
struct TIconLayout {
    double canvas = 256;
    QRectF triangle; // the outer bounds, rim and rounded corners included
    double corner = 0;
    double rim = 0;
    // The triangle from whole pixels with a rim of one, as a staircase; see StaircaseTriangle.
    bool staircase = false;
    // The omega as strokes: a ring open at the bottom, legs down to the feet's line, feet outwards.
    QPointF omegaCentre;
    double omegaRadius = 0, omegaStroke = 0, omegaFeetY = 0, omegaFoot = 0;
    // The omega from pixels instead, with its top left corner at omegaAt.
    TPixels omegaPixels;
    QPoint omegaAt;
    // The zigzag as a stroke; none when the box is empty.
    QRectF zigzag;
    double zigzagStroke = 0;
};

// The master: the triangle keeps a sixteenth of the canvas free at the sides and an eighth above
// and below, the store's grid for a wide shape.
TIconLayout Master()
{
    TIconLayout l;
    l.triangle = QRectF(QPointF(20, 32), QPointF(236, 224));
    l.corner = 16;
    l.rim = 14;
    l.omegaCentre = QPointF(128, 122);
    l.omegaRadius = 30;
    l.omegaStroke = 14;
    l.omegaFeetY = 154;
    l.omegaFoot = 16;
    l.zigzag = QRectF(88, 176, 80, 16);
    l.zigzagStroke = 8;
    return l;
}

TIconLayout Scaled(TIconLayout l, double k)
{
    l.canvas *= k;
    l.triangle = QRectF(l.triangle.topLeft() * k, l.triangle.bottomRight() * k);
    l.corner *= k;
    l.rim *= k;
    l.omegaCentre *= k;
    l.omegaRadius *= k;
    l.omegaStroke *= k;
    l.omegaFeetY *= k;
    l.omegaFoot *= k;
    l.zigzag = QRectF(l.zigzag.topLeft() * k, l.zigzag.bottomRight() * k);
    l.zigzagStroke *= k;
    return l;
}

// The small sizes by hand: the triangle on whole pixels and only the omega, set from pixels; a
// zigzag of single pixels would read as noise.
TIconLayout Small(int size)
{
    TIconLayout l;
    l.canvas = size;
    l.staircase = true;
    switch (size) {
    case 16:
        l.triangle = QRectF(QPointF(1, 1), QPointF(15, 15));
        l.omegaPixels = {".####.", "#....#", "#....#", ".#..#.", "##..##"};
        l.omegaAt = QPoint(5, 8);
        break;
    case 22:
        l.triangle = QRectF(QPointF(2, 2), QPointF(20, 20));
        l.omegaPixels = {"..####..", ".#....#.", "#......#", "#......#", ".#....#.", "###..###"};
        l.omegaAt = QPoint(7, 11);
        break;
    case 24:
        l.triangle = QRectF(QPointF(2, 1), QPointF(22, 23));
        l.omegaPixels = {"..######..", ".##....##.", "##......##", "##......##",
                         "##......##", ".##....##.", "###....###", "###....###"};
        l.omegaAt = QPoint(7, 13);
        break;
    default: // 32: a rim of two pixels has a whole amber pixel in every row even where antialiased
        l.staircase = false;
        l.corner = 2;
        l.rim = 2;
        l.triangle = QRectF(QPointF(2, 3), QPointF(30, 29));
        l.omegaPixels = {"....######....", "..##########..", ".###......###.", ".##........##.",
                         "##..........##", "##..........##", "##..........##", ".##........##.",
                         ".###......###.", "..###....###..", "#####....#####", "#####....#####"};
        l.omegaAt = QPoint(9, 14);
        break;
    }
    return l;
}

TIconLayout LayoutFor(int size)
{
    if (size == 0)
        return Master();
    if (size < 48)
        return Small(size);
    return Scaled(Master(), size / 256.0);
}

QString Number(double v)
{
    return QString::number(qRound(v * 100) / 100.0, 'g', 8);
}

QString Point(const QPointF& p)
{
    return Number(p.x()) + QLatin1Char(',') + Number(p.y());
}

// The triangle whose corners, rounded by radius, reach out to the bounds: the core triangle
// widened by a disc of that radius, which a round-joined stroke draws exactly.
QString RoundedTriangle(const QRectF& bounds, double radius, const QColor& colour)
{
    const QPointF apex(bounds.center().x(), bounds.top() + radius);
    const QPointF left(bounds.left() + radius, bounds.bottom() - radius);
    const QPointF right(bounds.right() - radius, bounds.bottom() - radius);
    QString element = QStringLiteral("  <polygon points=\"%1 %2 %3\" fill=\"%4\"")
                          .arg(Point(apex), Point(left), Point(right), colour.name());
    if (radius > 0)
        element += QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\" stroke-linejoin=\"round\"")
                       .arg(colour.name(), Number(2 * radius));
    return element + QStringLiteral("/>\n");
}

QString OmegaStrokes(const TIconLayout& l)
{
    // The ring opens 38 degrees either side of straight down.
    const double gap = qDegreesToRadians(38.0);
    const QPointF c = l.omegaCentre;
    const double r = l.omegaRadius, dx = r * std::sin(gap), dy = r * std::cos(gap);
    const QString d = QStringLiteral("M%1 L%2 L%3 A%4 %4 0 1 1 %5 L%6 L%7")
                          .arg(Point({c.x() - dx - l.omegaFoot, l.omegaFeetY}), Point({c.x() - dx, l.omegaFeetY}),
                               Point({c.x() - dx, c.y() + dy}), Number(r), Point({c.x() + dx, c.y() + dy}),
                               Point({c.x() + dx, l.omegaFeetY}), Point({c.x() + dx + l.omegaFoot, l.omegaFeetY}));
    return QStringLiteral("  <path d=\"%1\" fill=\"none\" stroke=\"%2\" stroke-width=\"%3\" "
                          "stroke-linejoin=\"miter\"/>\n")
        .arg(d, kInk.name(), Number(l.omegaStroke));
}

QString Square(int x, int y)
{
    return QStringLiteral("M%1 %2h1v1h-1z").arg(x).arg(y);
}

QString Filled(const QString& path, const QColor& colour)
{
    return QStringLiteral("  <path d=\"%1\" fill=\"%2\"/>\n").arg(path, colour.name());
}

QString Pixels(const TPixels& rows, const QPoint& at)
{
    QString squares;
    for (int y = 0; y < int(rows.size()); ++y)
        for (int x = 0; rows[size_t(y)][x]; ++x)
            if (rows[size_t(y)][x] == '#')
                squares += Square(at.x() + x, at.y() + y);
    return Filled(squares, kInk);
}

// The triangle within the bounds from whole pixels: a pixel belongs to it when its centre does, and
// the rim is every such pixel beside one that does not. An antialiased rim of one pixel would mix
// amber with the background and the yellow in every row and stand out from neither.
QString StaircaseTriangle(const QRectF& bounds)
{
    const auto inside = [&](int x, int y) {
        const double cx = x + 0.5, cy = y + 0.5;
        const double half = (cy - bounds.top()) / bounds.height() * bounds.width() / 2;
        return cy < bounds.bottom() && std::abs(cx - bounds.center().x()) <= half;
    };
    QString rim, fill;
    for (int y = 0; y < int(bounds.bottom()); ++y)
        for (int x = 0; x < int(bounds.right()); ++x)
            if (inside(x, y)) {
                const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
                (edge ? rim : fill) += Square(x, y);
            }
    return Filled(rim, kRim) + Filled(fill, kYellow);
}

QString ZigzagStroke(const TIconLayout& l)
{
    const QPainterPath path = Zigzag(l.zigzag, 3);
    QStringList points;
    for (int i = 0; i < path.elementCount(); ++i)
        points << Point(path.elementAt(i));
    return QStringLiteral("  <polyline points=\"%1\" fill=\"none\" stroke=\"%2\" stroke-width=\"%3\" "
                          "stroke-linejoin=\"miter\" stroke-miterlimit=\"4\"/>\n")
        .arg(points.join(QLatin1Char(' ')), kInk.name(), Number(l.zigzagStroke));
}

} // namespace

QPainterPath Zigzag(const QRectF& box, int peaks)
{
    QPainterPath path(QPointF(box.left(), box.center().y()));
    const double lead = box.width() * 0.15;
    const double start = box.left() + lead, end = box.right() - lead;
    path.lineTo(start, box.center().y());
    const double step = (end - start) / (2 * peaks);
    for (int i = 0; i < 2 * peaks; ++i)
        path.lineTo(start + step * (i + 0.5), i % 2 ? box.bottom() : box.top());
    path.lineTo(end, box.center().y());
    path.lineTo(box.right(), box.center().y());
    return path;
}

QString DesktopIconSvg(int size)
{
    const TIconLayout l = LayoutFor(size);
    QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                                 "viewBox=\"0 0 %1 %1\">\n")
                      .arg(Number(l.canvas));
    if (l.staircase) {
        svg += StaircaseTriangle(l.triangle);
    } else {
        svg += RoundedTriangle(l.triangle, l.corner, kRim);
        svg += RoundedTriangle(l.triangle.adjusted(l.rim, l.rim, -l.rim, -l.rim), l.corner - l.rim, kYellow);
    }
    svg += l.omegaPixels.empty() ? OmegaStrokes(l) : Pixels(l.omegaPixels, l.omegaAt);
    if (!l.zigzag.isEmpty())
        svg += ZigzagStroke(l);
    return svg + QStringLiteral("</svg>\n");
}

QImage RenderSvg(const QString& svg, int size)
{
    QByteArray bytes = svg.toUtf8();
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "svg");
    reader.setScaledSize(QSize(size, size));
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}
