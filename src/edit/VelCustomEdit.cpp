#include "VelCustomEdit.h"

#include <QPainter>

TVelCustomEdit::TVelCustomEdit(QWidget* parent)
    : TVelBaseEdit(parent)
{
}

void TVelCustomEdit::SetCueBanner(const QString& Value)
{
    if (Value == cueBanner_)
        return;
    cueBanner_ = Value;
    RedrawText();
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

void TVelCustomEdit::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case EM_GETPASSWORDCHAR: Message.Result = passwordChar_.unicode(); break;
    case EM_SETPASSWORDCHAR:
        passwordChar_ = QChar(static_cast<char16_t>(Message.WParam));
        TextChangedAt(1);
        break;
    default: TVelBaseEdit::WndProc(Message); break;
    }
}

void TVelCustomEdit::PaintText(QPainter& Canvas)
{
    if (hasFocus() || !Text().isEmpty() || cueBanner_.isEmpty()) {
        TVelBaseEdit::PaintText(Canvas);
        return;
    }
    Canvas.save();
    Canvas.setClipRect(TextRect());
    Canvas.setFont(font());
    Canvas.setPen(QColor(Qt::gray));
    Canvas.drawText(TextRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, cueBanner_);
    Canvas.restore();
}
