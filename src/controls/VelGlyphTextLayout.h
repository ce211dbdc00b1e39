#pragma once

#include "VelObject.h"

enum TVelAlignment {
    agTopLeft,
    agTopCenter,
    agTopRight,
    agCenterLeft,
    agCenter,
    agCenterRight,
    agBottomLeft,
    agBottomCenter,
    agBottomRight
};

// Where a button's caption sits relative to its glyph; the *Top and *Left variants align the
// two edges instead of centring them against each other.
enum TVelTextArrange { taLeft, taLeftTop, taRight, taRightTop, taTop, taTopLeft, taBottom, taBottomLeft };

// How a button arranges its glyph and caption as one block inside its face.
class TVelGlyphTextLayout : public TVelObject {
    Q_OBJECT

public:
    explicit TVelGlyphTextLayout(QObject* Owner = nullptr);

    TVelAlignment Alignment() const { return alignment_; }
    void SetAlignment(TVelAlignment Value);
    TVelTextArrange AlignText2Glyph() const { return arrange_; }
    void SetAlignText2Glyph(TVelTextArrange Value);
    int OffsetX() const { return offset_[0]; }
    int OffsetY() const { return offset_[1]; }
    // Index 0 is OffsetX, 1 OffsetY; any other index is ignored.
    void SetOffset(int Index, int Value);
    void SetOffsetX(int Value) { SetOffset(0, Value); }
    void SetOffsetY(int Value) { SetOffset(1, Value); }
    int Spacing() const { return spacing_; }
    void SetSpacing(int Value);

    // Copies the glyph-and-caption settings of any layout, and the arrow settings too when both
    // are button layouts, then notifies once. Anything else raises EVelConvertError.
    virtual void Assign(const QObject* Source);

protected:
    TVelGlyphTextLayout(QObject* Owner, TVelAlignment DefaultAlignment);
    [[noreturn]] void AssignError(const QObject* Source) const;
    // Copies the fields without notifying; Assign notifies once afterwards.
    void CopyGlyphText(const TVelGlyphTextLayout& Source);

private:
    TVelAlignment alignment_;
    TVelTextArrange arrange_ = taRight;
    int offset_[2] = {0, 0};
    int spacing_ = 2;
};
