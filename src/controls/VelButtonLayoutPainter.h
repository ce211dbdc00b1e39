#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <array>
#include <optional>

#include "VelTypes.h"

class QPainter;
class TVelGlyphTextLayout;

// The drawing states of a button face. Glyph strips hold their pictures in the order up,
// disabled, down, exclusive; hot uses the up picture.
enum TVelButtonState { bsUp, bsDisabled, bsDown, bsExclusive, bsHot };

// Where each part of a button's content lands; an absent part has a null rectangle.
struct TVelButtonPlacement {
    QRect Block; // glyph, caption and arrow together, before clipping to the face
    QRect Glyph;
    QRect Text;
    QRect Arrow; // the drop-down arrow's box: 2*ArrowSize-1 wide, ArrowSize high
};

// What a button shows on its face, apart from its glyph.
struct TVelButtonFace {
    QString Caption;
    QFont Font;
    bool MultiLine = false; // the caption wraps at the face's width
    TColor FontColor = clBtnText;
    TVelButtonState State = bsUp;
};

// Places and paints a button's glyph, caption and drop-down arrow inside a rectangle in the
// arrangement a layout object names. It knows no widget, so a button only hands it its face
// rectangle; the frame is the button's own business.
class TVelButtonLayoutPainter {
public:
    // The glyph is NumGlyphs equal pictures side by side (up, disabled, down, exclusive). A picture
    // without an alpha channel takes its bottom-left pixel's colour as transparent.
    void SetGlyph(const QImage& Glyph, int NumGlyphs = 1);
    bool HasGlyph() const { return !source_.isNull(); }
    QSize GlyphSize() const; // one picture, in logical pixels

    // The picture for a state, prepared once per glyph: a missing disabled picture is embossed
    // from the up picture, a missing down picture is the up one and a missing exclusive one the down.
    const QImage& GlyphImage(TVelButtonState State);

    // Pure arithmetic: the block (glyph beside caption per AlignText2Glyph, Spacing between them
    // when both are present, the arrow ArrowIndent away from the part ArrowPosition names or from
    // the other part when that one is missing) aligned in Bounds per Alignment, then shifted by
    // the offsets.
    static TVelButtonPlacement Arrange(const TVelGlyphTextLayout& Layout, const QRect& Bounds, QSize GlyphSize,
                                       QSize TextSize);

    static QSize TextSize(const TVelButtonFace& Face, int MaxWidth);
    TVelButtonPlacement Place(const TVelGlyphTextLayout& Layout, const QRect& Bounds, const TVelButtonFace& Face) const;

    // Paints the content clipped to Bounds. Down and exclusive faces shift the content one pixel
    // right and down, as a pushed button does; a disabled face paints an embossed caption and arrow.
    void Paint(QPainter& Canvas, const QRect& Bounds, const TVelGlyphTextLayout& Layout, const TVelButtonFace& Face);

private:
    QImage Part(int index) const;

    QImage source_;
    int numGlyphs_ = 1;
    std::array<std::optional<QImage>, 4> prepared_;
};
