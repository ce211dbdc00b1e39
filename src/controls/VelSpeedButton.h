#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

#include "VelBaseGraphicControl.h"
#include "VelButtonLayout.h"
#include "VelButtonLayoutPainter.h"
#include "VelSpeedButtonFrame.h"

class TVelTimer;

// A windowless push button: painted by its parent, fed the parent's mouse messages. It can work
// alone, latch down as one of a group of buttons on the same parent (GroupIndex, AllowAllUp,
// Pressed), or repeat its click while held (RepeatedClick). Glyph and caption are placed by its
// ButtonLayout and drawn by the layout painter; the frame follows ButtonStyle.
class TVelSpeedButton : public TVelBaseGraphicControl {
    Q_OBJECT

public:
    explicit TVelSpeedButton(QObject* Owner = nullptr);
    ~TVelSpeedButton() override;

    // What the face shows now: bsUp, bsHot, bsDown (held under the pointer) or bsExclusive
    // (latched in its group). A disabled button reports bsUp and paints its disabled look.
    TVelButtonState State() const;

    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& Value);
    bool UseCaption() const { return useCaption_; }
    void SetUseCaption(bool Value);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool Value);

    // NumGlyphs equal pictures side by side: up, disabled, down, exclusive. A picture with a
    // device pixel ratio above 1 is drawn at that density, so a 2x glyph stays sharp.
    const QImage& Glyph() const { return glyph_; }
    void SetGlyph(const QImage& Value);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int Value);

    TVelButtonLayout* ButtonLayout() const { return layout_.get(); }
    void SetButtonLayout(const TVelButtonLayout* Value) { layout_->Assign(Value); }

    // The parent's font until a font of its own is set.
    QFont Font() const;
    void SetFont(const QFont& Value);
    bool ParentFont() const { return !font_.has_value(); }
    void SetParentFont(bool Value);

    TColor Color() const { return color_; }
    void SetColor(TColor Value);
    TVelUserButtonStyle ButtonStyle() const { return style_; }
    void SetButtonStyle(TVelUserButtonStyle Value);
    // The caption colour under the pointer, when EnterColorChange is set.
    TColor EnterColor() const { return enterColor_; }
    void SetEnterColor(TColor Value);
    bool EnterColorChange() const { return enterColorChange_; }
    void SetEnterColorChange(bool Value);

    int GroupIndex() const { return groupIndex_; }
    // Leaving every group releases the button.
    void SetGroupIndex(int Value);
    bool AllowAllUp() const { return allowAllUp_; }
    // Shared by the whole group: the siblings take the new value too.
    void SetAllowAllUp(bool Value);
    bool Pressed() const { return pressed_; }
    // Only a grouped button latches; without AllowAllUp a latched button stays down until
    // another of its group is pressed. Pressing one releases the others of its group.
    void SetPressed(bool Value);

    bool RepeatedClick() const { return repeatedClick_; }
    void SetRepeatedClick(bool Value) { repeatedClick_ = Value; }
    std::uint16_t RepeatingDelay() const { return repeatingDelay_; }
    void SetRepeatingDelay(std::uint16_t Value) { repeatingDelay_ = Value; }
    std::uint16_t RepeatingInterval() const { return repeatingInterval_; }
    void SetRepeatingInterval(std::uint16_t Value) { repeatingInterval_ = Value; }
    // The repeat and hot-tracking timers come from the shared pool instead of private timers.
    bool UseGlobalTimer() const { return useGlobalTimer_; }
    void SetUseGlobalTimer(bool Value) { useGlobalTimer_ = Value; }

    // Shown on the parent while the pointer is over the button.
    const QString& Hint() const { return hint_; }
    void SetHint(const QString& Value) { hint_ = Value; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool Value) { showHint_ = Value; }

    int Tag() const { return tag_; }
    void SetTag(int Value) { tag_ = Value; }

    // Fires OnClick; the mouse and the repeat timer click through here.
    virtual void Click();
    void Paint(QPainter& Canvas) override;

    TNotifyEvent OnClick;

protected:
    void WndProc(TMessage& Message) override;
    void MouseEntered() override;
    void MouseLeft() override;
    void MouseDown(Qt::MouseButton Button, unsigned Keys, QPoint Pos) override;
    void MouseMove(unsigned Keys, QPoint Pos) override;
    void MouseUp(Qt::MouseButton Button, unsigned Keys, QPoint Pos) override;
    void ThemeModeChanged() override;

private:
    // Called on the other buttons of the group when this one latched.
    void GroupPressed(TVelSpeedButton* Sender);
    template <typename F> void ForEachGroupSibling(F Action);
    void SetHot(bool Value);
    void CancelTracking();
    void RepeatTick();
    void HotTick();
    void ShowHintOnParent(bool Entering);
    bool DrawThemed(QPainter& Canvas, TVelButtonState State);

    QString caption_;
    bool useCaption_ = true;
    bool multiLine_ = false;
    QImage glyph_;
    int numGlyphs_ = 1;
    std::unique_ptr<TVelButtonLayout> layout_;
    TVelButtonLayoutPainter painter_;
    std::optional<QFont> font_;
    TColor color_ = clBtnFace;
    TVelUserButtonStyle style_ = ubsWin40;
    TColor enterColor_ = clCaptionText;
    bool enterColorChange_ = false;

    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool pressed_ = false;

    bool repeatedClick_ = false;
    std::uint16_t repeatingDelay_ = 500;
    std::uint16_t repeatingInterval_ = 100;
    bool useGlobalTimer_ = false;
    std::unique_ptr<TVelTimer> repeatTimer_;
    std::unique_ptr<TVelTimer> hotTimer_;

    bool hot_ = false;
    bool held_ = false;   // the left button went down on the button and is not yet up
    bool inside_ = false; // while held: the pointer is over the button

    QString hint_;
    QString parentHint_;
    bool showHint_ = true;
    int tag_ = 0;
};
