#include "VelCustomEdit.h"

#include <algorithm>

TVelCustomEdit::TVelCustomEdit(QWidget* parent) : TVelBaseEdit(parent) {}

void TVelCustomEdit::SetCueBanner(const QString& Value)
{
    if (Value == cueBanner_)
        return;
    cueBanner_ = Value;
    RedrawText();
}

void TVelCustomEdit::SetAutoSize(bool Value)
{
    if (Value == autoSize_)
        return;
    autoSize_ = Value;
    // Before the window exists the size follows in Loaded, after the stored geometry arrived.
    if (Value && testAttribute(Qt::WA_WState_Created) && !IsLoading())
        AdjustSize();
}

void TVelCustomEdit::AdjustSize()
{
    if (!autoSize_)
        return;
    // The window's own border is a fixed five pixels with the margins; a drawn bevel takes its
    // extent on both sides.
    const int line = TextHeightOf(QStringLiteral("Qp")) * 5 / 4;
    const int height = line + (Bevel()->Mode() == bmWindows ? 5 : 2 * Bevel()->Extent());
    resize(std::max(width(), CustomButtons()->Count() * customButtonWidth_ + 30), height);
}

void TVelCustomEdit::Loaded()
{
    TVelBaseEdit::Loaded();
    AdjustSize();
    UpdateCustomButtonThemes();
}

void TVelCustomEdit::SelectAll()
{
    // The caret goes to the end first, so Shift+Left afterwards shrinks the selection from there.
    LineEnd();
    TVelBaseEdit::SelectAll();
}

void TVelCustomEdit::BuildDisplayText()
{
    displayText_ = passwordChar_.isNull() ? Text() : QString(Text().length(), passwordChar_);
}

void TVelCustomEdit::TextChangedAt(int At)
{
    BuildDisplayText();
    TVelBaseEdit::TextChangedAt(At);
}

void TVelCustomEdit::TextReset()
{
    SetSelLength(0);
    TextChangedAt(1);
    if (hasFocus())
        UpdateCaret();
}

void TVelCustomEdit::ProcessKey(std::uint16_t& Key, Qt::KeyboardModifiers Shift)
{
    // A single line has no rows: the vertical arrows move along it.
    if (Key == VK_UP)
        Key = VK_LEFT;
    else if (Key == VK_DOWN)
        Key = VK_RIGHT;
    TVelBaseEdit::ProcessKey(Key, Shift);
}

LRESULT TVelCustomEdit::CharFromPos(int /*X*/, int /*Y*/)
{
    return 0;
}

bool TVelCustomEdit::CopyPasteAllowed() const
{
    return TVelBaseEdit::CopyPasteAllowed() && passwordChar_.isNull();
}

bool TVelCustomEdit::RedrawOnFocusChange() const
{
    return TVelBaseEdit::RedrawOnFocusChange() || !cueBanner_.isEmpty();
}

void TVelCustomEdit::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case EM_GETPASSWORDCHAR: Message.Result = passwordChar_.unicode(); break;
    case EM_SETPASSWORDCHAR:
        passwordChar_ = QChar(static_cast<char16_t>(Message.WParam));
        // A masked text gives no hints to the input method and is not remembered by it.
        setInputMethodHints(passwordChar_.isNull() ? Qt::ImhNone : (Qt::ImhHiddenText | Qt::ImhSensitiveData));
        TextChangedAt(1);
        break;
    case CM_FONTCHANGED:
        TVelBaseEdit::WndProc(Message);
        if (!IsLoading())
            AdjustSize();
        break;
    default: TVelBaseEdit::WndProc(Message); break;
    }
}
