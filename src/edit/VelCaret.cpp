#include "VelCaret.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>

#include "VelSystemCaret.h"

namespace {

// The blink time is one value for the whole process, and the caret objects take turns at it.
// Whoever applies a rate first remembers what was in force before; only that caret puts it back.
// Remembering per caret object alone would let an edit made while another edit's rate was applied
// take that rate for the desktop's and keep it in force for good.
struct TBlinkTimeHolder {
    const TVelCaret* Holder = nullptr;
    unsigned Original = 0;
};

TBlinkTimeHolder& BlinkHolder()
{
    thread_local TBlinkTimeHolder holder;
    return holder;
}

unsigned DesktopBlinkTime()
{
    const TBlinkTimeHolder& h = BlinkHolder();
    return h.Holder ? h.Original : VelGetCaretBlinkTime();
}

std::uint16_t AsRate(unsigned Time)
{
    return static_cast<std::uint16_t>(std::min<unsigned>(Time, 0xFFFF));
}

} // namespace

TVelCaret::TVelCaret(QWidget* Owner)
    : TVelObject(Owner), owner_(Owner), blinkRate_(AsRate(DesktopBlinkTime())), savedBlinkTime_(DesktopBlinkTime())
{
}

TVelCaret::~TVelCaret()
{
    if (OwnsSystemCaret())
        VelDestroyCaret();
    RestoreBlinkTime();
}

void TVelCaret::SetBlinkRate(std::uint16_t Value)
{
    if (Value == blinkRate_)
        return;
    blinkRate_ = Value;
    if (shown_)
        ApplyBlinkRate();
    Changed();
}

void TVelCaret::Assign(const TVelCaret* Source)
{
    if (!Source || Source == this)
        return;
    blinkRate_ = Source->blinkRate_;
    width_ = Source->width_;
    height_ = Source->height_;
    style_ = Source->style_;
    if (shown_)
        ApplyBlinkRate();
    Changed();
}

QSize TVelCaret::ShapeSize() const
{
    switch (style_) {
    case csDefault: return {1, std::max(textHeight_, 1)};
    case csBlock:
    case csUnderBlock: return {width_, height_};
    case csUnder:
    case csOver: return {width_, 1};
    case csBitmap: {
        if (bitmap_.isNull())
            break;
        return bmpMode_ == cbBmpSize ? bitmap_.size() : QSize(width_, height_);
    }
    }
    return {1, std::max(textHeight_, 1)};
}

QImage TVelCaret::ShapeImage() const
{
    if (bitmap_.isNull() || width_ == 0 || height_ == 0)
        return bitmap_;
    if (bmpMode_ == cbBmpSize)
        return bitmap_;
    QImage work(width_, height_, QImage::Format_RGB32);
    work.fill(Qt::black);
    QPainter p(&work);
    if (bmpMode_ == cbTile) {
        p.drawTiledPixmap(work.rect(), QPixmap::fromImage(bitmap_));
    } else {
        // A caret is a mask: blending neighbours would leave grey pixels that invert by halves.
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        p.drawImage(work.rect(), bitmap_);
    }
    return work;
}

void TVelCaret::Create()
{
    if (!owner_)
        return;
    createdOnce_ = true;
    if (style_ == csBitmap && !bitmap_.isNull()) {
        // The work bitmap replaces the caret the owner may still have.
        if (bmpMode_ != cbBmpSize && OwnsSystemCaret())
            VelDestroyCaret();
        const QImage shape = ShapeImage();
        if (!shape.isNull() && VelCreateCaret(owner_, shape)) {
            ApplyBlinkRate();
            return;
        }
    }
    const QSize size = ShapeSize();
    VelCreateCaret(owner_, size.width(), size.height());
    ApplyBlinkRate();
}

void TVelCaret::Show()
{
    if (!canEnable_ || !owner_)
        return;
    shown_ = true;
    if (!createdOnce_)
        Create();
    ApplyBlinkRate();
    VelShowCaret(owner_);
}

void TVelCaret::Hide()
{
    shown_ = false;
    if (owner_)
        VelHideCaret(owner_);
    RestoreBlinkTime();
}

void TVelCaret::Destroy()
{
    shown_ = false;
    if (!owner_)
        return;
    RestoreBlinkTime();
    if (OwnsSystemCaret())
        VelDestroyCaret();
}

QPoint TVelCaret::Placement(int X, int Y, int LineHeight) const
{
    switch (style_) {
    case csUnder: return {X, Y + LineHeight - 3};
    case csUnderBlock: return {X, Y + LineHeight - height_ - 2};
    default: return {X, Y};
    }
}

void TVelCaret::Place(int X, int Y, int LineHeight)
{
    if (!OwnsSystemCaret())
        return;
    const QPoint p = Placement(X, Y, LineHeight);
    VelSetCaretPos(p.x(), p.y());
}

void TVelCaret::ApplyBlinkRate()
{
    TBlinkTimeHolder& h = BlinkHolder();
    if (h.Holder != this) {
        if (!h.Holder)
            h.Original = VelGetCaretBlinkTime();
        h.Holder = this;
    }
    VelSetCaretBlinkTime(blinkRate_);
}

void TVelCaret::RestoreBlinkTime()
{
    TBlinkTimeHolder& h = BlinkHolder();
    if (h.Holder != this)
        return;
    VelSetCaretBlinkTime(h.Original);
    h.Holder = nullptr;
}

bool TVelCaret::OwnsSystemCaret() const
{
    return owner_ && TVelSystemCaret::ForThisThread().Owner() == owner_;
}
