#pragma once

#include <QRect>

class QPainter;
class QColor;
class QPalette;
class TVelDeviceFrame;

// Edge kinds: one bit per line, outer and inner, raised or sunken.
enum : unsigned {
    BDR_RAISEDOUTER = 0x0001,
    BDR_SUNKENOUTER = 0x0002,
    BDR_RAISEDINNER = 0x0004,
    BDR_SUNKENINNER = 0x0008,
    BDR_OUTER = BDR_RAISEDOUTER | BDR_SUNKENOUTER,
    BDR_INNER = BDR_RAISEDINNER | BDR_SUNKENINNER,
    EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
    EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
    EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER,
    EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER,
};

// Which sides to draw and how.
enum : unsigned {
    BF_LEFT = 0x0001,
    BF_TOP = 0x0002,
    BF_RIGHT = 0x0004,
    BF_BOTTOM = 0x0008,
    BF_TOPLEFT = BF_TOP | BF_LEFT,
    BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT,
    BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM,
    BF_MIDDLE = 0x0800,
    BF_SOFT = 0x1000,
    BF_ADJUST = 0x2000,
    BF_FLAT = 0x4000,
    BF_MONO = 0x8000,
};

// The classic 3D edge: up to two 1-pixel lines along the chosen sides of Rect (right and bottom
// exclusive), the outer one first. Each line's top and left sides take its top-left colour, the
// right and bottom sides its bottom-right colour; the bottom-right lines own the two corners they
// share with the top-left ones. Colours are the system 3D colours of Palette:
//   raised outer light / dark shadow, raised inner highlight / shadow,
//   sunken outer shadow / highlight, sunken inner dark shadow / light;
// BF_SOFT gives a raised outer line the highlight and a raised inner line the light at top and
// left (and a sunken outer line the dark shadow, a sunken inner line the shadow), the look of a
// soft button. BF_FLAT draws the outer line in the shadow colour and the inner one in the button
// face colour on every side, BF_MONO the outer in the window-frame colour and the inner in the
// window colour. BF_MIDDLE fills what is left with the button face (window colour when flat or
// mono). With BF_ADJUST, Rect shrinks by the lines drawn on each chosen side.
// Every line is a whole number of device pixels, the same on each side (see TVelDeviceFrame).
bool VelDrawEdge(QPainter& Canvas, QRect& Rect, unsigned Edge, unsigned Flags, const QPalette& Palette);
// The same inside a frame that a caller draws in several steps: the lines of every step are counted
// from the frame's outer edges, so they meet exactly at any device pixel ratio.
bool VelDrawEdge(QPainter& Canvas, const TVelDeviceFrame& Frame, QRect& Rect, unsigned Edge, unsigned Flags,
                 const QPalette& Palette);
// The same with the palette of the widget the canvas paints on, else the application's.
bool VelDrawEdge(QPainter& Canvas, QRect& Rect, unsigned Edge, unsigned Flags);
QPalette VelCanvasPalette(const QPainter& Canvas);

// A 1-pixel frame just inside Rect, one device line wide on every side.
void VelFrameRect(QPainter& Canvas, const QRect& Rect, const QColor& Color);
void VelFrameRect(QPainter& Canvas, const TVelDeviceFrame& Frame, const QRect& Rect, const QColor& Color);
