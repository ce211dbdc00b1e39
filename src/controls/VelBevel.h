#pragma once

#include <QRect>
#include <cstdint>

#include "VelObject.h"
#include "VelTypes.h"

class QPainter;

enum TVelBevelMode : std::uint8_t { bmCustom, bmStandard, bmEdge, bmWindows };
enum TVelBevelStyle : std::uint8_t {
    bvNone,
    bvLowered,
    bvRaised,
    bvFrameLowered,
    bvFrameRaised,
    bvNormal,
    bvShadow,
    bvSpace,
    bvFlat
};
enum TVelBorderStyle : std::uint8_t {
    lsNone,
    lsSingle,
    lsLowered,
    lsRaised,
    lsRaisedspb,
    lsLoweredspb,
    lsRaisedExt,
    lsLoweredExt,
    lsFrameInset,
    lsFrameOffset,
    lsWindowBorder,
    lsSingleRaised,
    lsSingleLowered,
    lsDoubleRaised,
    lsDoubleLowered
};
enum TVelEdgeStyle : std::uint8_t {
    etRaisedInner,
    etRaisedOuter,
    etSunkenInner,
    etSunkenOuter,
    etBump,
    etEtched,
    etRaised,
    etSunken
};
// A set of sides, stored as bits.
using TVelFrameSides = std::uint8_t;
enum : TVelFrameSides { fsBottom = 1, fsLeft = 2, fsRight = 4, fsTop = 8, fsAll = 15 };

using TVelBevelWidth = std::uint8_t;  // 0..50
using TVelBorderWidth = std::uint8_t; // 0..255

// Rings of a standard border style: 0, 1 or 2 pixels.
int StandardBorderWidth(TVelBorderStyle Style);
// Draws Style with the classic edge lines and shrinks Rect by what the style takes.
void DrawStandardBorder(QPainter& Canvas, QRect& Rect, TVelBorderStyle Style, unsigned Flags = 0);

// The border of bevel panels, edits and graphic controls: its settings, the room it takes on each
// side, and its drawing.
class TVelBevel : public TVelObject {
    Q_OBJECT

public:
    explicit TVelBevel(QObject* Owner = nullptr);

    TVelBevelStyle StyleInner() const { return styleInner_; }
    void SetStyleInner(TVelBevelStyle Value);
    TVelBevelStyle StyleOuter() const { return styleOuter_; }
    void SetStyleOuter(TVelBevelStyle Value);
    TVelBevelWidth WidthInner() const { return widthInner_; }
    void SetWidthInner(TVelBevelWidth Value);
    TVelBevelWidth WidthOuter() const { return widthOuter_; }
    void SetWidthOuter(TVelBevelWidth Value);
    TVelBorderWidth BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(TVelBorderWidth Value);
    TVelBorderWidth BorderInnerWidth() const { return borderInnerWidth_; }
    void SetBorderInnerWidth(TVelBorderWidth Value);
    TVelFrameSides BorderSides() const { return borderSides_; }
    void SetBorderSides(TVelFrameSides Value);
    TVelEdgeStyle EdgeStyle() const { return edgeStyle_; }
    void SetEdgeStyle(TVelEdgeStyle Value);
    TVelBevelMode Mode() const { return mode_; }
    void SetMode(TVelBevelMode Value);
    TVelBorderStyle StandardStyle() const { return standardStyle_; }
    void SetStandardStyle(TVelBorderStyle Value);

    // The three colours share one setter: 0 BorderColor, 1 LightColor, 2 ShadowColor.
    TColor Color(int Index) const;
    void SetColor(int Index, TColor Value);
    TColor BorderColor() const { return colors_[0]; }
    void SetBorderColor(TColor Value) { SetColor(0, Value); }
    TColor LightColor() const { return colors_[1]; }
    void SetLightColor(TColor Value) { SetColor(1, Value); }
    TColor ShadowColor() const { return colors_[2]; }
    void SetShadowColor(TColor Value) { SetColor(2, Value); }

    // Set by an owner whose window draws the bmWindows border itself; such a bevel takes no room
    // in that mode.
    bool NativeBorderCapable() const { return nativeBorderCapable_; }
    void SetNativeBorderCapable(bool Value);
    // True only while the notification of a Mode change runs, so the owner can tell that the
    // window's border styles may have to change.
    bool ModeChanging() const { return modeChanging_; }

    // Copies every setting from another bevel; any other source fails with EVelConvertError.
    void Assign(const QObject* Source);

    int Extent() const { return extent_; }
    int ExtentRightBottom() const { return extentRightBottom_; }
    QRect InnerRect(const QRect& Rect) const;
    // Draws the border inside Rect and returns what is left inside it. NoFill skips the plain
    // rings and background bands but leaves the same rectangle.
    QRect DrawBevel(QPainter& Canvas, const QRect& Rect, bool NoFill) const;

    void Changed() override;

private:
    void UpdateExtents();
    int ComputeExtent() const;

    TVelBevelStyle styleInner_ = bvNone;
    TVelBevelStyle styleOuter_ = bvNone;
    TVelBevelWidth widthInner_ = 1;
    TVelBevelWidth widthOuter_ = 1;
    TVelBorderWidth borderWidth_ = 0;
    TVelBorderWidth borderInnerWidth_ = 0;
    TVelFrameSides borderSides_ = fsAll;
    TVelEdgeStyle edgeStyle_ = etEtched;
    TVelBevelMode mode_ = bmCustom;
    TVelBorderStyle standardStyle_ = lsSingleLowered;
    TColor colors_[3] = {clBtnFace, clBtnHighlight, clBtnShadow};
    bool nativeBorderCapable_ = false;
    bool modeChanging_ = false;
    int extent_ = 0;
    int extentRightBottom_ = 0;
};
