#pragma once

#include <QColor>

#include "VelTypes.h"

class QPainter;

// Draws the library's small solid arrow in logical pixels: every pixel is a filled unit square, so
// the arrow is exact at 1x and scales into clean blocks on high-density screens.
// Down: Size rows, 2*Size-1 wide at the top (starting at column X), tip at (X+Size-1, Y+Size-1).
// Up: Size rows, tip at (X + Size div 2, Y), base 2*Size-1 wide on row Y+Size-1.
// Sizes outside 2..15 draw nothing. A disabled arrow is embossed: a copy in clHighlightText one
// pixel right and down, then the arrow itself in clGrayText.
void DrawArrow(QPainter& Canvas, int X, int Y, int Size, TColor Color, bool Down, bool Enabled);

// Turns a library colour into a QColor: 0x00BBGGRR as is, clNone transparent, and the classic
// system colours (0xFF000000 + n) through the application palette. The drawing units of buttons
// and spin buttons resolve every colour through this one function.
QColor VelClassicColor(TColor Color);
