#include "VelSpeedButton.h"

#include <QCursor>
#include <QPainter>
#include <QPointer>
#include <algorithm>

#include "VelControl.h"
#include "VelSysColors.h"
#include "VelThemes.h"
#include "VelTimer.h"

namespace {

// The pointer check behind hot tracking: often enough to feel immediate, rare enough to cost
// nothing.
constexpr std::uint16_t HotCheckInterval = 100;

// Part and state numbers of the themed push button.
enum { BpPushButton = 1 };
enum { PbsNormal = 1, PbsHot = 2, PbsPressed = 3, PbsDisabled = 4 };

} // namespace

TVelSpeedButton::TVelSpeedButton(QObject* Owner)
    : TVelBaseGraphicControl(Owner), layout_(std::make_unique<TVelButtonLayout>())
{
    SetBounds(0, 0, 23, 22);
    SetCursor(Qt::ArrowCursor);
    SetThemeMode(ttmPlatform);
    layout_->OnChange = [this](QObject* Sender) { SubObjectChanged(Sender); };
}

TVelSpeedButton::~TVelSpeedButton()
{
    layout_->OnChange = nullptr;
    CancelTracking();
    SetHot(false);
}

TVelButtonState TVelSpeedButton::State() const
{
    if (!Enabled())
        return pressed_ ? bsExclusive : bsUp;
    if (pressed_)
        return bsExclusive;
    // Held, the button follows the pointer: down over it, up (not hot) once dragged off.
    if (held_)
        return inside_ ? bsDown : bsUp;
    return hot_ ? bsHot : bsUp;
}

void TVelSpeedButton::SetCaption(const QString& Value)
{
    if (caption_ == Value)
        return;
    caption_ = Value;
    SubObjectChanged(nullptr);
}

void TVelSpeedButton::SetUseCaption(bool Value)
{
    if (useCaption_ == Value)
        return;
    useCaption_ = Value;
    SubObjectChanged(nullptr);
}

void TVelSpeedButton::SetMultiLine(bool Value)
{
    if (multiLine_ == Value)
        return;
    multiLine_ = Value;
    SubObjectChanged(nullptr);
}

void TVelSpeedButton::SetGlyph(const QImage& Value)
{
    glyph_ = Value;
    painter_.SetGlyph(glyph_, numGlyphs_);
    SubObjectChanged(nullptr);
}

void TVelSpeedButton::SetNumGlyphs(int Value)
{
    Value = std::clamp(Value, 1, 4);
    if (numGlyphs_ == Value)
        return;
    numGlyphs_ = Value;
    painter_.SetGlyph(glyph_, numGlyphs_);
    SubObjectChanged(nullptr);
}

QFont TVelSpeedButton::Font() const
{
    if (font_)
        return *font_;
    return Parent() ? Parent()->font() : QFont();
}

void TVelSpeedButton::SetFont(const QFont& Value)
{
    if (font_ && *font_ == Value)
        return;
    font_ = Value;
    SubObjectChanged(nullptr);
}

void TVelSpeedButton::SetParentFont(bool Value)
{
    if (Value == ParentFont())
        return;
    if (Value)
        font_.reset();
    else
        font_ = Font();
    SubObjectChanged(nullptr);
}

void TVelSpeedButton::SetColor(TColor Value)
{
    if (color_ == Value)
        return;
    color_ = Value;
    SubObjectChanged(nullptr);
}

void TVelSpeedButton::SetButtonStyle(TVelUserButtonStyle Value)
{
    if (style_ == Value)
        return;
    style_ = Value;
    SubObjectChanged(nullptr);
}

void TVelSpeedButton::SetEnterColor(TColor Value)
{
    if (enterColor_ == Value)
        return;
    enterColor_ = Value;
    if (hot_)
        SubObjectChanged(nullptr);
}

void TVelSpeedButton::SetEnterColorChange(bool Value)
{
    if (enterColorChange_ == Value)
        return;
    enterColorChange_ = Value;
    if (hot_)
        SubObjectChanged(nullptr);
}

template <typename F> void TVelSpeedButton::ForEachGroupSibling(F Action)
{
    if (groupIndex_ == 0 || !Parent())
        return;
    // A copy: an action may repaint, and nothing it does may change the list under the loop.
    const std::vector<TVelBaseControl*> children = Parent()->GraphicControls();
    for (TVelBaseControl* child : children)
        if (auto* button = qobject_cast<TVelSpeedButton*>(child); button && button != this)
            if (button->groupIndex_ == groupIndex_)
                Action(*button);
}

void TVelSpeedButton::SetGroupIndex(int Value)
{
    if (groupIndex_ == Value)
        return;
    groupIndex_ = Value;
    if (groupIndex_ == 0 && pressed_) {
        pressed_ = false;
        Invalidate();
    }
}

void TVelSpeedButton::SetAllowAllUp(bool Value)
{
    if (allowAllUp_ == Value)
        return;
    allowAllUp_ = Value;
    ForEachGroupSibling([Value](TVelSpeedButton& b) { b.allowAllUp_ = Value; });
}

void TVelSpeedButton::SetPressed(bool Value)
{
    if (groupIndex_ == 0)
        Value = false;
    if (pressed_ == Value)
        return;
    // The last latched button of a group that does not allow all up cannot be released.
    if (!Value && !allowAllUp_)
        return;
    pressed_ = Value;
    if (pressed_)
        ForEachGroupSibling([this](TVelSpeedButton& b) { b.GroupPressed(this); });
    Invalidate();
}

void TVelSpeedButton::GroupPressed(TVelSpeedButton* Sender)
{
    allowAllUp_ = Sender->allowAllUp_;
    if (!pressed_)
        return;
    pressed_ = false;
    Invalidate();
}

void TVelSpeedButton::Click()
{
    if (OnClick)
        OnClick(this);
}

void TVelSpeedButton::WndProc(TMessage& Message)
{
    if (Message.Msg == CM_ENABLEDCHANGED && !Enabled()) {
        // A button disabled while held or hot forgets both, so it does not click or glow later.
        CancelTracking();
        SetHot(false);
    }
    TVelBaseGraphicControl::WndProc(Message);
}

void TVelSpeedButton::MouseEntered()
{
    TVelBaseGraphicControl::MouseEntered();
    if (Enabled())
        SetHot(true);
}

void TVelSpeedButton::MouseLeft()
{
    TVelBaseGraphicControl::MouseLeft();
    SetHot(false);
}

void TVelSpeedButton::SetHot(bool Value)
{
    if (hot_ == Value)
        return;
    hot_ = Value;
    ShowHintOnParent(Value);
    if (hot_ && !pressed_) {
        // Leave messages can be lost (a window opened over the button, the parent hidden); the
        // pointer check returns the button to its up look all the same.
        hotTimer_ =
            std::make_unique<TVelTimer>(HotCheckInterval, useGlobalTimer_, true, [this](QObject*) { HotTick(); });
    } else {
        hotTimer_.reset();
    }
    Invalidate();
}

void TVelSpeedButton::HotTick()
{
    TVelBaseCustomControl* parent = Parent();
    if (held_ || !parent)
        return;
    const QPoint at = parent->mapFromGlobal(QCursor::pos()) - BoundsRect().topLeft();
    if (!parent->isVisible() || !HitTest(at) || !Enabled())
        SetHot(false);
}

void TVelSpeedButton::ShowHintOnParent(bool Entering)
{
    TVelBaseCustomControl* parent = Parent();
    if (!parent)
        return;
    if (Entering) {
        parentHint_ = parent->toolTip();
        if (showHint_ && !hint_.isEmpty())
            parent->setToolTip(hint_);
        return;
    }
    if (showHint_ && !hint_.isEmpty() && parent->toolTip() == hint_)
        parent->setToolTip(parentHint_);
}

void TVelSpeedButton::MouseDown(Qt::MouseButton Button, unsigned /*Keys*/, QPoint Pos)
{
    if (Button != Qt::LeftButton || !Enabled())
        return;
    held_ = true;
    inside_ = HitTest(Pos);
    if (pressed_)
        return;
    Repaint();
    if (!repeatedClick_)
        return;
    QPointer<TVelSpeedButton> self(this);
    Click();
    if (!self || !held_)
        return;
    repeatTimer_ =
        std::make_unique<TVelTimer>(repeatingDelay_, useGlobalTimer_, true, [this](QObject*) { RepeatTick(); });
}

void TVelSpeedButton::RepeatTick()
{
    if (!repeatTimer_)
        return;
    if (repeatTimer_->Interval() != repeatingInterval_)
        repeatTimer_->SetInterval(repeatingInterval_);
    // Only while the button shows down: dragged off it, the repeat pauses until it returns.
    if (State() == bsDown)
        Click();
}

void TVelSpeedButton::MouseMove(unsigned /*Keys*/, QPoint Pos)
{
    if (held_) {
        const bool inside = HitTest(Pos);
        if (inside != inside_) {
            inside_ = inside;
            Repaint();
        }
        return;
    }
    // Back over the button after the pointer check took the hot look away.
    if (!hot_ && Enabled() && HitTest(Pos))
        SetHot(true);
}

void TVelSpeedButton::MouseUp(Qt::MouseButton Button, unsigned /*Keys*/, QPoint Pos)
{
    if (Button != Qt::LeftButton || !held_)
        return;
    repeatTimer_.reset();
    held_ = false;
    inside_ = false;
    if (!HitTest(Pos)) {
        Invalidate();
        return;
    }
    bool click = !repeatedClick_;
    if (groupIndex_ != 0) {
        if (pressed_ && !allowAllUp_)
            click = false;
        else
            SetPressed(!pressed_);
    }
    Invalidate();
    if (click)
        Click();
}

void TVelSpeedButton::CancelTracking()
{
    repeatTimer_.reset();
    if (held_) {
        held_ = false;
        inside_ = false;
        Invalidate();
    }
}

void TVelSpeedButton::ThemeModeChanged()
{
    TVelBaseGraphicControl::ThemeModeChanged();
    Invalidate();
}

bool TVelSpeedButton::DrawThemed(QPainter& Canvas, TVelButtonState State)
{
    const TVelThemeMode mode = EffectiveThemeMode();
    if (mode == ttmNone)
        return false;
    int state = PbsNormal;
    switch (State) {
    case bsDisabled: state = PbsDisabled; break;
    case bsHot: state = PbsHot; break;
    case bsDown:
    case bsExclusive: state = PbsPressed; break;
    case bsUp: break;
    }
    return VelThemeServices()->DrawButton(mode, Canvas, BpPushButton, state, ClientRect());
}

void TVelSpeedButton::Paint(QPainter& Canvas)
{
    const TVelButtonState state = Enabled() ? State() : bsDisabled;
    const QPalette palette = Parent() ? Parent()->palette() : QPalette();
    QRect face;
    if (DrawThemed(Canvas, state)) {
        face = ClientRect().adjusted(2, 2, -2, -2);
    } else {
        const TVelButtonState frameState = state == bsDisabled ? (pressed_ ? bsExclusive : bsUp) : state;
        face = VelDrawButtonFrame(Canvas, ClientRect(), style_, frameState, VelColorToQColor(color_, palette), palette);
    }
    TVelButtonFace content;
    content.Caption = useCaption_ ? caption_ : QString();
    content.Font = Font();
    content.MultiLine = multiLine_;
    content.FontColor = (state == bsHot && enterColorChange_) ? enterColor_ : clBtnText;
    content.State = state;
    painter_.Paint(Canvas, face, *layout_, content);
}
