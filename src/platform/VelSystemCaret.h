#pragma once

#include <QImage>
#include <QMetaObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <memory>

class QBitmap;
class QPainter;
class QTimer;

// The system caret in the classic shape: one per thread, owned by one widget, created hidden,
// shown and hidden by a counter (every hide needs its show; visible at 0), placed in client
// coordinates, blinking at a process-wide blink time. The owner draws it: at the end of its
// paintEvent it calls VelPaintCaret, which inverts the pixels under the caret while the caret is
// visible and in its on phase, so it shows on any background. A timer flips the phase and asks the
// owner to repaint only the caret's rectangle.

// Blink time meaning "do not blink": the caret stays on.
constexpr unsigned kVelCaretNoBlink = 0xFFFFFFFF;

// A Width x Height block; 0 takes the one-pixel border width or height, as classically.
bool VelCreateCaret(QWidget* Owner, int Width, int Height);
// A caret of the picture's shape and size: white pixels invert what lies beneath, black ones leave
// it, like a bitmap caret drawn with XOR.
bool VelCreateCaret(QWidget* Owner, const QImage& Shape);
// Set (color1) bits invert, clear bits leave what lies beneath.
bool VelCreateCaret(QWidget* Owner, const QBitmap& Shape);
bool VelDestroyCaret();
// Owner nullptr means whichever widget owns the caret; another widget is refused.
bool VelShowCaret(QWidget* Owner);
bool VelHideCaret(QWidget* Owner);
// Moving the caret also shows it at once in its on phase and starts the blink over, so it is seen
// right after every keystroke.
bool VelSetCaretPos(int X, int Y);
QPoint VelGetCaretPos();
// The length of one on or one off phase in milliseconds. It starts from the desktop's cursor
// flash time; 0 and kVelCaretNoBlink both mean a steady caret. A change takes effect from the
// next phase.
unsigned VelGetCaretBlinkTime();
bool VelSetCaretBlinkTime(unsigned Milliseconds);

// For the owner's paintEvent, last: draws the caret when Owner owns it and it is visible and on.
void VelPaintCaret(QWidget* Owner, QPainter& Painter);

// Hides the owner's caret while the owner draws the area under it and shows it again afterwards.
// Inside the owner's paintEvent neither step asks for another repaint, so the bracket costs no
// extra frame; the caret of that frame is drawn by VelPaintCaret.
class TVelCaretHider {
public:
    explicit TVelCaretHider(QWidget* Owner);
    ~TVelCaretHider();
    TVelCaretHider(const TVelCaretHider&) = delete;
    TVelCaretHider& operator=(const TVelCaretHider&) = delete;

private:
    QWidget* owner_;
    bool hidden_;
};

// The state behind the functions above, one object per thread.
class TVelSystemCaret {
public:
    static TVelSystemCaret& ForThisThread();

    TVelSystemCaret();
    ~TVelSystemCaret();
    TVelSystemCaret(const TVelSystemCaret&) = delete;
    TVelSystemCaret& operator=(const TVelSystemCaret&) = delete;

    bool Create(QWidget* Owner, QSize Size, const QImage& Shape);
    bool Destroy();
    bool Show(QWidget* Owner);
    bool Hide(QWidget* Owner);
    bool SetPos(QPoint Pos);
    QPoint Pos() const { return pos_; }
    void Paint(const QWidget* Owner, QPainter& Painter) const;

    // What the blink timer does: flips the phase and repaints the caret's rectangle.
    void Blink();
    // Picks up a new process-wide blink time.
    void BlinkTimeChanged();

    QWidget* Owner() const;
    bool Exists() const { return Owner() != nullptr; }
    QRect Rect() const { return {pos_, size_}; }
    int HideCount() const { return hideCount_; }
    bool Visible() const { return Exists() && hideCount_ == 0; }
    bool PhaseOn() const { return phaseOn_; }
    bool Blinking() const;

private:
    bool Owns(const QWidget* Owner) const;
    void Reset();
    void RestartBlink();
    void Invalidate(QRect Area) const;
    bool OwnerPainting() const;

    QPointer<QWidget> owner_;
    QMetaObject::Connection ownerGone_;
    QPoint pos_;
    QSize size_;
    QImage shape_;
    int hideCount_ = 0;
    bool phaseOn_ = true;
    std::unique_ptr<QTimer> timer_;
};
