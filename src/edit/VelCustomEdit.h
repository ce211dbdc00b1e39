#pragma once

#include <memory>

#include "VelBaseEdit.h"
#include "VelSpecialButton.h"

// The edit as the spin edits use it: the text as drawn (masked by a password character), the cue
// banner shown while it is empty and unfocused, automatic height, and the caret keys Up and Down
// acting as Left and Right.
class TVelCustomEdit : public TVelBaseEdit {
    Q_OBJECT
public:
    explicit TVelCustomEdit(QWidget* parent = nullptr);

    QString DisplayText() const { return displayText_; }
    QChar PasswordChar() const { return passwordChar_; }
    QString CueBanner() const { return cueBanner_; }
    void SetCueBanner(const QString& Value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);

    void SelectAll() override;
    void Loaded() override;
    void RecreateWnd() override;

    // The strip of buttons at the right end of the text area.
    TVelSpecialButtons* CustomButtons() const { return customButtons_.get(); }
    void SetCustomButtons(const TVelSpecialButtons& Value);
    int CustomButtonWidth() const { return customButtonWidth_; }
    void SetCustomButtonWidth(int Value);
    TVelUserButtonStyle CustomButtonsStyle() const { return customButtonsStyle_; }
    void SetCustomButtonsStyle(TVelUserButtonStyle Value);
    // The buttons follow the edit's theme mode instead of their own.
    bool CustomButtonParentCtlXP() const { return customButtonParentCtlXP_; }
    void SetCustomButtonParentCtlXP(bool Value);
    // The edit area before the buttons were taken off it: what a full paint erases.
    QRect FullEditRect() const { return fullEditRect_; }

    // Fired after the item's own OnClick, with the index of the button clicked.
    std::function<void(QObject* Sender, int Index)> OnCustomButtonClick;

protected:
    virtual void BuildDisplayText();
    // Fits the height to the font when AutoSize is on.
    virtual void AdjustSize();
    virtual bool CueBannerShown() const { return Text().isEmpty(); }
    QString ShownText() const override { return displayText_; }
    void TextChangedAt(int At) override;
    void TextReset() override;
    void ProcessKey(std::uint16_t& Key, Qt::KeyboardModifiers Shift) override;
    LRESULT CharFromPos(int X, int Y) override;
    bool CopyPasteAllowed() const override;
    bool RedrawOnFocusChange() const override;
    bool CueBannerOnFocus() const override { return !cueBanner_.isEmpty(); }
    void WndProc(TMessage& Message) override;
    void PaintText(QPainter& Canvas) override;
    void LayoutButtons(QRect& EditArea) override;
    // Button may be gone already when the item's handler freed it.
    virtual void CustomButtonClick(TVelSpeedButton* Button, int Index);
    virtual void UpdateCustomButtonThemes();

private:
    friend class TVelSpecialButtons;
    friend class TVelSpecialButton;
    // The strip changed: room and places are worked out again.
    void CustomButtonsChanged();

    std::unique_ptr<TVelSpecialButtons> customButtons_ = std::make_unique<TVelSpecialButtons>(this);
    int customButtonWidth_ = 16;
    TVelUserButtonStyle customButtonsStyle_ = ubsIntegrated;
    bool customButtonParentCtlXP_ = true;
    QRect fullEditRect_;
    QString displayText_;
    QChar passwordChar_;
    QString cueBanner_;
    bool autoSize_ = false;
};
