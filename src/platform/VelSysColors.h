#pragma once

#include <QColor>

#include "VelTypes.h"

class QImage;
class QPalette;

// The classic system colours beyond the ones every layer names in VelTypes.h. Their numbers are
// the classic system colour indices, so stored colour values keep their meaning.
enum : TColor {
    clActiveCaption = clSystemColor + 2,
    clInactiveCaption = clSystemColor + 3,
    clMenu = clSystemColor + 4,
    clMenuText = clSystemColor + 7,
    clActiveBorder = clSystemColor + 10,
    clInactiveBorder = clSystemColor + 11,
    clAppWorkSpace = clSystemColor + 12,
    clInactiveCaptionText = clSystemColor + 19,
    clInfoText = clSystemColor + 23,
    clInfoBk = clSystemColor + 24,
    clHotLight = clSystemColor + 26,
    clGradientActiveCaption = clSystemColor + 27,
    clGradientInactiveCaption = clSystemColor + 28,
    clMenuHighlight = clSystemColor + 29,
    clMenuBar = clSystemColor + 30,
    clDefault = 0x20000000,
};

constexpr TColor VelRGB(int R, int G, int B)
{
    return static_cast<TColor>((R & 0xFF) | ((G & 0xFF) << 8) | ((B & 0xFF) << 16));
}

constexpr bool IsSystemColor(TColor Color)
{
    return (Color & 0xFF000000u) == clSystemColor;
}

// A colour value as Qt draws it. System colours are read from Palette when one is given (a
// control passes its own, which follows the application's) and otherwise from the application's
// palette at the moment of the call, so a dark desktop gives a dark program and a palette change
// takes effect at the next paint. clNone is fully transparent.
QColor VelColorToQColor(TColor Color, const QPalette* Palette = nullptr);
QColor VelColorToQColor(TColor Color, const QPalette& Palette);

// The plain colour value of a QColor (alpha is dropped).
TColor VelColorFromQColor(const QColor& Color);

// The few colours the library's drawing fixes as RGB. A light desktop gets them exactly; a dark
// one gets the palette role that plays the same part, so black arrows do not vanish on a dark face.
enum class TVelFixedColor {
    Arrow,     // black: the spin button's arrows and the drop-down arrow
    LightGrey, // (192, 192, 192): a diagonal line of the spin button
    White,     // white: a diagonal line of the spin button
    DarkGrey,  // (128, 128, 128): the pressed spin button's diagonal line
    Ink,       // black of a 1-bit picture
    Paper,     // white of a 1-bit picture
    Frame,     // black: the plain frame line of a bevel
};

// A palette is dark when its window colour is not lighter than mid-grey.
bool VelIsDarkPalette(const QPalette& Palette);
QColor VelFixedColor(TVelFixedColor Which, const QPalette& Palette);
// A chosen colour (a hot arrow's, say) drawn on a dark face: as it is when it already stands out
// 4.5:1 from the face, as text must to be read easily; otherwise lightened, its hue kept, just
// until it does.
QColor VelLegibleOnDark(const QColor& Ink, const QColor& Face);
// A black-on-white picture in the palette's ink and paper: black and white as they are in a light
// palette, text on base colour in a dark one; greys between them (smoothed edges) in proportion.
QImage VelInkOnPaper(const QImage& BlackOnWhite, const QPalette& Palette);
