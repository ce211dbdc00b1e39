#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>
#include <cstdint>

#include "VelObject.h"

class QWidget;

enum TVelCaretStyles : std::uint8_t { csDefault, csBlock, csUnder, csOver, csBitmap, csUnderBlock };
enum TVelCaretBitmap : std::uint8_t { cbBmpSize, cbTile, cbStretch };

// The caret settings of an edit. It shapes the thread's one system caret when the edit takes the
// focus, holds the process-wide blink time at BlinkRate while the caret is shown and puts the
// previous blink time back when it is hidden or destroyed. Changing the shape settings never
// reshapes a caret that exists; the next Create uses them.
class TVelCaret : public TVelObject {
    Q_OBJECT

public:
    // Owner is the widget the caret belongs to; it must outlive the caret object.
    explicit TVelCaret(QWidget* Owner);
    ~TVelCaret() override;

    std::uint16_t BlinkRate() const { return blinkRate_; }
    void SetBlinkRate(std::uint16_t Value);
    TVelCaretStyles Style() const { return style_; }
    void SetStyle(TVelCaretStyles Value) { style_ = Value; }
    std::uint16_t Width() const { return width_; }
    void SetWidth(std::uint16_t Value) { width_ = Value; }
    std::uint16_t Height() const { return height_; }
    void SetHeight(std::uint16_t Value) { height_ = Value; }
    TVelCaretBitmap CaretBmpMode() const { return bmpMode_; }
    void SetCaretBmpMode(TVelCaretBitmap Value) { bmpMode_ = Value; }
    const QImage& Bitmap() const { return bitmap_; }
    // Copies the picture; the caller keeps its own.
    void SetBitmap(const QImage& Value) { bitmap_ = Value.copy(); }
    // Stored with the caret; the shape never comes from an image list.
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value) { imageIndex_ = Value; }
    int ListIndex() const { return listIndex_; }
    void SetListIndex(int Value) { listIndex_ = Value; }
    bool CanEnable() const { return canEnable_; }
    void SetCanEnable(bool Value) { canEnable_ = Value; }

    // Copies BlinkRate, Width, Height and Style; a caret assigned to itself is left alone.
    void Assign(const TVelCaret* Source);

    // The line height a csDefault caret takes.
    int TextHeight() const { return textHeight_; }
    void SetTextHeight(int Value) { textHeight_ = Value; }

    // Gives the owner the system caret in the current shape and applies BlinkRate.
    void Create();
    void Show();
    void Hide();
    void Destroy();
    bool Shown() const { return shown_; }

    // The size Create gives the caret.
    QSize ShapeSize() const;
    // Places the caret whose line starts at (X, Y); LineHeight is the height of the text line,
    // which the under styles sit on.
    void Place(int X, int Y, int LineHeight);
    // Where Place puts the caret's top-left corner.
    QPoint Placement(int X, int Y, int LineHeight) const;

    // The blink time in force when this caret object was made.
    unsigned SavedBlinkTime() const { return savedBlinkTime_; }

private:
    QImage ShapeImage() const;
    void ApplyBlinkRate();
    void RestoreBlinkTime();
    bool OwnsSystemCaret() const;

    QWidget* owner_;
    std::uint16_t blinkRate_;
    TVelCaretStyles style_ = csDefault;
    std::uint16_t width_ = 2;
    std::uint16_t height_ = 10;
    TVelCaretBitmap bmpMode_ = cbBmpSize;
    QImage bitmap_;
    int imageIndex_ = 0;
    int listIndex_ = 0;
    bool canEnable_ = true;
    int textHeight_ = 0;
    unsigned savedBlinkTime_;
    bool shown_ = false;
    bool createdOnce_ = false;
};
