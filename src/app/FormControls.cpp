#include "FormControls.h"

#include <QPainter>
#include <QRadioButton>
#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QKeyEvent>

#include "VelBevel.h"
#include "VelDevicePixels.h"
#include "VelSysColors.h"

#include <utility>

QPixmap LoadPicture(const QString& path)
{
    QString chosen = path;
    if (qApp && qApp->devicePixelRatio() > 1.0) {
        const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
        const QString doubled =
            dot < 0 ? path + QStringLiteral("@2x") : path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
        if (QFile::exists(doubled))
            chosen = doubled;
    }
    // The reader takes the scale from the "@2x" in the name.
    QImageReader reader(chosen);
    QImage image = reader.read();
    if (image.isNull())
        return {};
    if (image.depth() == 1) {
        const qreal ratio = image.devicePixelRatio();
        image = image.convertToFormat(QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
    }
    return QPixmap::fromImage(std::move(image));
}

TLabel::TLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

void TLabel::SetCaption(const QString& text)
{
    const QString previous = this->text();
    setText(text);
    // Calculation rewrites all three results on every change; most changes leave one of them as
    // it was.
    if (autoSize_ && fittedTo_ != this->text())
        FitToText();
    if (OnCaptionChange && previous != this->text())
        OnCaptionChange(previous);
}

void TLabel::FitToText()
{
    // QLabel's size hint lays the text out three times (as it stands, on one line, and as narrow
    // as it wraps); a plain caption that never wraps gives the same box each time. The result
    // labels are refitted on every keystroke, so they take the one layout.
    ensurePolished();
    const QString& caption = text();
    // QLabel sizes an empty label, tabs and mnemonics by rules of their own.
    const bool plainLine =
        !caption.isEmpty() && !caption.contains(QLatin1Char('\t')) && !(buddy() && caption.contains(QLatin1Char('&')));
    if (!plainLine || wordWrap() || textFormat() != Qt::PlainText || margin() != 0 || indent() > 0 ||
        frameWidth() != 0 || !contentsMargins().isNull()) {
        adjustSize();
        return;
    }
    // The same measure QLabel takes: its alignment without the centring, in a 2000 pixel box.
    const int flags = int(alignment() & ~(Qt::AlignVCenter | Qt::AlignHCenter));
    resize(fontMetrics().boundingRect(0, 0, 2000, 2000, flags, caption).size().expandedTo(minimumSize()));
    fittedTo_ = caption;
}

void TLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fittedTo_.reset();
    QLabel::changeEvent(event);
}

void TLabel::SetAutoSize(bool on)
{
    autoSize_ = on;
    fittedTo_.reset();
    if (on)
        adjustSize();
}

namespace {

// Frame rings through the library's bevel, whose rings lie on whole device pixels at any scale;
// Qt's shade panels come out unevenly thick at fractional ones.
void PaintRings(QWidget& Widget, TVelBevelStyle Outer, TVelBevelStyle Inner)
{
    QPainter p(&Widget);
    TVelBevel bevel;
    bevel.SetStyleOuter(Outer);
    bevel.SetStyleInner(Inner);
    bevel.DrawBevel(p, Widget.rect(), true);
}

} // namespace

TBevel::TBevel(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    // A frame drawn over the controls it surrounds must not take their clicks.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TBevel::paintEvent(QPaintEvent* event)
{
    // The frame lies over labels whose texts change with every keystroke; a paint inside the
    // frame has none of its ring to draw. Its one-pixel ring, rounded out to whole device pixels
    // at a fractional scale, stays within two logical pixels of the edge.
    constexpr int ringReach = 2;
    if (rect().adjusted(ringReach, ringReach, -ringReach, -ringReach).contains(event->region().boundingRect()))
        return;
    PaintRings(*this, bvLowered, bvNone);
}

TImage::TImage(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TImage::SetPicture(const QPixmap& picture)
{
    picture_ = picture;
    shown_ = QImage();
    Apply();
}

void TImage::SetAutoSize(bool on)
{
    autoSize_ = on;
    Apply();
}

void TImage::SetStretch(bool on)
{
    stretch_ = on;
    Apply();
}

void TImage::SetInkOnPaper(bool on)
{
    inkOnPaper_ = on;
    shown_ = QImage();
    update();
}

void TImage::paintEvent(QPaintEvent*)
{
    // Drawn here rather than by the label's style: a style sheet's border, padding or colours
    // would shift, cut or tint the picture, and a picture is shown exactly as it was drawn.
    if (picture_.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, stretch_);
    if (stretch_) {
        p.drawImage(rect(), Shown(picture_.size()));
        return;
    }
    if (qFuzzyCompare(picture_.devicePixelRatio(), devicePixelRatioF())) {
        p.drawImage(QPoint(0, 0), Shown(picture_.size()));
        return;
    }
    // Drawn for another scale (the "@2x" picture at 1.5): resampled once to the device pixels it
    // covers and copied one to one, rather than every other pixel dropped or doubled.
    const QRect device = VelToDeviceRect(p, QRect(QPoint(0, 0), picture_.deviceIndependentSize().toSize()));
    QImage shown = Shown(device.size());
    shown.setDevicePixelRatio(1);
    p.save();
    VelPaintInDevicePixels(p);
    p.drawImage(device.topLeft(), shown);
    p.restore();
}

QImage TImage::Shown(const QSize& deviceSize) const
{
    const qint64 key = inkOnPaper_ ? palette().cacheKey() : 0;
    if (!shown_.isNull() && shown_.size() == deviceSize && shownPalette_ == key)
        return shown_;
    QImage image = picture_.toImage();
    if (inkOnPaper_)
        image = VelInkOnPaper(image, palette());
    if (image.size() != deviceSize) {
        image = image.scaled(deviceSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        image.setDevicePixelRatio(1);
    }
    shown_ = image;
    shownPalette_ = key;
    return shown_;
}

void TImage::Apply()
{
    setScaledContents(stretch_);
    setPixmap(picture_);
    if (autoSize_ && !picture_.isNull())
        resize(picture_.deviceIndependentSize().toSize());
}

TPanel::TPanel(QWidget* parent) : QFrame(parent)
{
    setAutoFillBackground(true);
}

void TPanel::paintEvent(QPaintEvent*)
{
    PaintRings(*this, bvLowered, bvRaised);
}

namespace {

// The whole row of an item answers to the mouse, not only its circle and text.
class TGroupButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

} // namespace

void TButton::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // A held Enter must not print or export again and again.
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && isEnabled()) {
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent) {}

void TRadioGroup::SetItems(const QStringList& items)
{
    qDeleteAll(buttons_);
    buttons_.clear();
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new TGroupButton(items[i], this);
        // Checking is what every way of choosing has in common: a click, the arrow keys, and an
        // assistive technology's toggle action, which never raises clicked().
        connect(button, &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked && !assigning_)
                ButtonClicked(i);
        });
        buttons_.push_back(button);
        button->show();
    }
    if (itemIndex_ >= Count())
        itemIndex_ = -1;
    SetItemIndex(itemIndex_);
    ArrangeButtons();
}

void TRadioGroup::SetItemIndex(int index)
{
    if (index < -1 || index >= Count())
        index = -1;
    itemIndex_ = index;
    const bool wasAssigning = std::exchange(assigning_, true);
    for (int i = 0; i < Count(); ++i) {
        // Auto-exclusive buttons refuse to uncheck the checked one, which "no item" needs.
        buttons_[i]->setAutoExclusive(false);
        buttons_[i]->setChecked(i == index);
        buttons_[i]->setAutoExclusive(true);
    }
    assigning_ = wasAssigning;
}

void TRadioGroup::ButtonClicked(int index)
{
    if (index == itemIndex_)
        return;
    itemIndex_ = index;
    if (OnClick)
        OnClick(this);
}

void TRadioGroup::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    ArrangeButtons();
}

void TRadioGroup::ArrangeButtons()
{
    if (buttons_.isEmpty())
        return;
    // The classic layout: the rows share the height below the caption evenly.
    const int top = fontMetrics().height();
    const int rowHeight = (height() - top - 4) / Count();
    for (int i = 0; i < Count(); ++i)
        buttons_[i]->setGeometry(8, top + i * rowHeight, width() - 16, rowHeight);
}
