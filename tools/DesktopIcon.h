#pragma once
// The program's desktop icon: a warning-yellow triangle holding an omega over a resistor's zigzag.
// Its rim is a mid amber that stands out from white and from a dark panel alike, so the whole
// silhouette reads on light and dark desktops; the yellow inside stands out from the dark ones too.
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QString>

// The drawing as SVG. Size 0 is the scalable master on a 256-unit canvas; a size in pixels lays
// the same shapes out on that size's pixel grid, and the smallest sizes set the omega and the
// zigzag from whole pixels, so no size is a blurry downscale of a larger one.
QString DesktopIconSvg(int size);

// An SVG drawing rendered at size by the SVG reader of Qt's image plugins.
QImage RenderSvg(const QString& svg, int size);

// The resistor symbol: a lead, peaks up and down across the middle of the box, a lead.
QPainterPath Zigzag(const QRectF& box, int peaks);
