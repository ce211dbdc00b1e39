#pragma once

#include <QRect>

#include "VelButtonLayoutPainter.h"
#include "VelTypes.h"

class QPainter;
class QPalette;

// The frame looks a speed button can take, in their stored order.
enum TVelUserButtonStyle {
    ubsWin31,
    ubsWin40,
    ubsTessel,
    ubsTesselFlat,
    ubsFlat,
    ubsFlatUnColored,
    ubsNavigator,
    ubsExplorer,
    ubsExplorerColored,
    ubsIntegrated,
    ubsCombo,
    ubsOffice,
    ubsOfficeTransp,
    ubsWin40Ext
};

// Draws a button's background and frame over Rect in the classic look of Style for State
// (bsDisabled draws the up frame), filling with Face unless the style is see-through while idle,
// and returns the face left inside the frame for glyph and caption. Lines are logical pixels, so
// the frame stays crisp at any device pixel ratio.
QRect VelDrawButtonFrame(QPainter& Canvas, const QRect& Rect, TVelUserButtonStyle Style, TVelButtonState State,
                         const QColor& Face, const QPalette& Palette);
