#pragma once

#include "VelGlyphTextLayout.h"
#include "VelTypes.h"

enum TVelArrowPosition { apRightText, apLeftText, apRightGlyph, apLeftGlyph };

// A glyph-and-caption layout that can also carry a drop-down arrow beside the caption or glyph.
class TVelButtonLayout : public TVelGlyphTextLayout {
    Q_OBJECT

public:
    static constexpr int MinArrowSize = 2;
    static constexpr int MaxArrowSize = 10;

    explicit TVelButtonLayout(QObject* Owner = nullptr);

    bool Arrow() const { return arrow_; }
    void SetArrow(bool Value);
    TColor ArrowColor() const { return arrowColor_; }
    void SetArrowColor(TColor Value);
    int ArrowIndent() const { return arrowIndent_; }
    void SetArrowIndent(int Value);
    TVelArrowPosition ArrowPosition() const { return arrowPosition_; }
    void SetArrowPosition(TVelArrowPosition Value);
    int ArrowSize() const { return arrowSize_; }
    // Kept within MinArrowSize..MaxArrowSize, the range the drop-down arrow is drawn in.
    void SetArrowSize(int Value);

    void Assign(const QObject* Source) override;

private:
    bool arrow_ = false;
    TColor arrowColor_ = clBlack;
    int arrowIndent_ = 3;
    TVelArrowPosition arrowPosition_ = apRightText;
    int arrowSize_ = 3;
};
