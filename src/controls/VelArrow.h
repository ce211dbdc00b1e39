#pragma once

#include <QColor>

#include "VelTypes.h"

class QPainter;
class QPalette;

// Draws the library's small solid arrow in logical pixels: every pixel is a filled unit square, so
// the arrow is exact at 1x and scales into clean blocks at whole scale factors. At a fractional
// scale the arrow is drawn on the device grid instead: solid, symmetric, an odd number of device
// pixels wide, each row one pixel wider on each side than the one before.
// Down: Size rows, 2*Size-1 wide at the top (starting at column X), tip at (X+Size-1, Y+Size-1).
// Up: Size rows, tip at (X + Size div 2, Y), base 2*Size-1 wide on row Y+Size-1.
// Sizes outside 2..15 draw nothing. A disabled arrow is embossed: a copy in clHighlightText one
// pixel right and down, then the arrow itself in clGrayText.
// Colours come from the palette of the widget painted on, else the application's.
void DrawArrow(QPainter& Canvas, int X, int Y, int Size, TColor Color, bool Down, bool Enabled);
// The same with the arrow's colour resolved and the palette for the disabled look given.
void DrawArrow(QPainter& Canvas, int X, int Y, int Size, const QColor& Color, bool Down, bool Enabled,
               const QPalette& Palette);

// Turns a library colour into a QColor: 0x00BBGGRR as is, clNone transparent, and the classic
// system colours (0xFF000000 + n) through the application palette. The drawing units of buttons
// and spin buttons resolve every colour through this one function.
QColor VelClassicColor(TColor Color);
