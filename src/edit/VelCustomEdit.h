#pragma once

#include "VelBaseEdit.h"

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

private:
    QString displayText_;
    QChar passwordChar_;
    QString cueBanner_;
    bool autoSize_ = false;
};
