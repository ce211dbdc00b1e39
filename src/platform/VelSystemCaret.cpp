#include "VelSystemCaret.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QStyleHints>
#include <QTimer>
#include <algorithm>
#include <atomic>

namespace {

// The classic desktop's blink time, for a program without a Qt GUI application to ask.
constexpr unsigned kClassicBlinkTime = 530;

unsigned DesktopBlinkTime()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return kClassicBlinkTime;
    // Qt's flash time is a whole on-and-off cycle; ours is one phase of it.
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    return flash > 0 ? static_cast<unsigned>(flash / 2) : kVelCaretNoBlink;
}

std::atomic<unsigned>& BlinkTime()
{
    static std::atomic<unsigned> time{DesktopBlinkTime()};
    return time;
}

bool Steady(unsigned Time)
{
    return Time == 0 || Time == kVelCaretNoBlink;
}

QImage BitmapShape(const QBitmap& Shape)
{
    // A bitmap's set bits read as black; the caret inverts where they are set.
    QImage image = Shape.toImage().convertToFormat(QImage::Format_RGB32);
    image.invertPixels();
    return image;
}

} // namespace

TVelSystemCaret& TVelSystemCaret::ForThisThread()
{
    thread_local TVelSystemCaret caret;
    return caret;
}

TVelSystemCaret::TVelSystemCaret() = default;

TVelSystemCaret::~TVelSystemCaret()
{
    QObject::disconnect(ownerGone_);
}

QWidget* TVelSystemCaret::Owner() const
{
    return owner_.data();
}

bool TVelSystemCaret::Blinking() const
{
    return timer_ && timer_->isActive();
}

bool TVelSystemCaret::Owns(const QWidget* Owner) const
{
    return Exists() && (!Owner || Owner == owner_.data());
}

bool TVelSystemCaret::OwnerPainting() const
{
    return owner_ && owner_->testAttribute(Qt::WA_WState_InPaintEvent);
}

void TVelSystemCaret::Invalidate(QRect Area) const
{
    // From inside the owner's paintEvent the frame being drawn already decides about the caret;
    // asking for another one there would repaint forever.
    if (owner_ && !OwnerPainting())
        owner_->update(Area);
}

bool TVelSystemCaret::Create(QWidget* Owner, QSize Size, const QImage& Shape)
{
    if (!Owner)
        return false;
    Destroy();
    if (!timer_) {
        timer_ = std::make_unique<QTimer>();
        timer_->setSingleShot(true);
        QObject::connect(timer_.get(), &QTimer::timeout, timer_.get(), [this] { Blink(); });
    }
    owner_ = Owner;
    ownerGone_ = QObject::connect(Owner, &QObject::destroyed, timer_.get(), [this] { Reset(); });
    size_ = Shape.isNull() ? QSize(Size.width() > 0 ? Size.width() : 1, Size.height() > 0 ? Size.height() : 1)
                           : Shape.size();
    shape_ = Shape.isNull() ? QImage() : Shape.convertToFormat(QImage::Format_RGB32);
    pos_ = QPoint(0, 0);
    hideCount_ = 1;
    RestartBlink();
    return true;
}

bool TVelSystemCaret::Destroy()
{
    if (!Exists()) {
        Reset();
        return false;
    }
    if (Visible())
        Invalidate(Rect());
    Reset();
    return true;
}

void TVelSystemCaret::Reset()
{
    QObject::disconnect(ownerGone_);
    owner_ = nullptr;
    shape_ = QImage();
    hideCount_ = 0;
    phaseOn_ = true;
    if (timer_)
        timer_->stop();
}

bool TVelSystemCaret::Show(QWidget* Owner)
{
    if (!Owns(Owner))
        return false;
    if (hideCount_ == 0)
        return true;
    if (--hideCount_ == 0 && !OwnerPainting()) {
        RestartBlink();
        Invalidate(Rect());
    }
    return true;
}

bool TVelSystemCaret::Hide(QWidget* Owner)
{
    if (!Owns(Owner))
        return false;
    if (hideCount_++ == 0)
        Invalidate(Rect());
    return true;
}

bool TVelSystemCaret::SetPos(QPoint Pos)
{
    if (!Exists())
        return false;
    const QRect old = Rect();
    pos_ = Pos;
    if (OwnerPainting()) {
        // Moved while the owner draws: the phase stays, only the two places need a new frame.
        if (old.topLeft() != Pos && Visible())
            owner_->update(QRegion(old) + QRegion(Rect()));
        return true;
    }
    const bool wasOff = !phaseOn_;
    RestartBlink();
    if (Visible() && (old.topLeft() != Pos || wasOff))
        owner_->update(QRegion(old) + QRegion(Rect()));
    return true;
}

void TVelSystemCaret::RestartBlink()
{
    phaseOn_ = true;
    if (!timer_)
        return;
    const unsigned time = BlinkTime().load();
    if (Exists() && !Steady(time))
        timer_->start(static_cast<int>(std::min<unsigned>(time, 0x7FFFFFFF)));
    else
        timer_->stop();
}

void TVelSystemCaret::Blink()
{
    if (!Exists())
        return;
    const unsigned time = BlinkTime().load();
    if (Steady(time)) {
        RestartBlink();
        return;
    }
    phaseOn_ = !phaseOn_;
    timer_->start(static_cast<int>(std::min<unsigned>(time, 0x7FFFFFFF)));
    if (Visible())
        Invalidate(Rect());
}

void TVelSystemCaret::BlinkTimeChanged()
{
    if (!Exists())
        return;
    const bool steady = Steady(BlinkTime().load());
    if (steady && !phaseOn_) {
        RestartBlink();
        if (Visible())
            Invalidate(Rect());
    } else if (steady) {
        timer_->stop();
    } else if (!timer_->isActive()) {
        RestartBlink();
    }
}

void TVelSystemCaret::Paint(const QWidget* Owner, QPainter& Painter) const
{
    if (!Owner || Owner != owner_.data() || hideCount_ != 0 || !phaseOn_)
        return;
    Painter.save();
    // XOR where the device can do it, like the classic caret; elsewhere the difference with white,
    // which inverts just the same for a block caret and for the black and white of a bitmap caret.
    const QPaintEngine* engine = Painter.paintEngine();
    const bool xorAvailable = engine && engine->hasFeature(QPaintEngine::RasterOpModes);
    Painter.setCompositionMode(xorAvailable ? QPainter::RasterOp_SourceXorDestination
                                            : QPainter::CompositionMode_Difference);
    if (shape_.isNull())
        Painter.fillRect(Rect(), Qt::white);
    else
        Painter.drawImage(pos_, shape_);
    Painter.restore();
}

TVelCaretHider::TVelCaretHider(QWidget* Owner) : owner_(Owner), hidden_(VelHideCaret(Owner)) {}

TVelCaretHider::~TVelCaretHider()
{
    if (hidden_)
        VelShowCaret(owner_);
}

bool VelCreateCaret(QWidget* Owner, int Width, int Height)
{
    return TVelSystemCaret::ForThisThread().Create(Owner, QSize(Width, Height), QImage());
}

bool VelCreateCaret(QWidget* Owner, const QImage& Shape)
{
    if (Shape.isNull())
        return false;
    return TVelSystemCaret::ForThisThread().Create(Owner, Shape.size(), Shape);
}

bool VelCreateCaret(QWidget* Owner, const QBitmap& Shape)
{
    if (Shape.isNull())
        return false;
    return TVelSystemCaret::ForThisThread().Create(Owner, Shape.size(), BitmapShape(Shape));
}

bool VelDestroyCaret()
{
    return TVelSystemCaret::ForThisThread().Destroy();
}

bool VelShowCaret(QWidget* Owner)
{
    return TVelSystemCaret::ForThisThread().Show(Owner);
}

bool VelHideCaret(QWidget* Owner)
{
    return TVelSystemCaret::ForThisThread().Hide(Owner);
}

bool VelSetCaretPos(int X, int Y)
{
    return TVelSystemCaret::ForThisThread().SetPos(QPoint(X, Y));
}

QPoint VelGetCaretPos()
{
    return TVelSystemCaret::ForThisThread().Pos();
}

unsigned VelGetCaretBlinkTime()
{
    return BlinkTime().load();
}

bool VelSetCaretBlinkTime(unsigned Milliseconds)
{
    if (BlinkTime().exchange(Milliseconds) != Milliseconds)
        TVelSystemCaret::ForThisThread().BlinkTimeChanged();
    return true;
}

void VelPaintCaret(QWidget* Owner, QPainter& Painter)
{
    TVelSystemCaret::ForThisThread().Paint(Owner, Painter);
}
