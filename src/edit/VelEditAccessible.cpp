#include "VelEditAccessible.h"

#include <QFontMetrics>
#include <QLabel>
#include <algorithm>
#include <utility>

#include "VelBaseEdit.h"

namespace {

QAccessibleInterface* EditFactory(const QString& /*ClassName*/, QObject* Object)
{
    // Matched by type, not by class name, so every descendant (the number edits) is covered and
    // can hand out a richer interface through its own CreateAccessibleInterface.
    if (auto* edit = qobject_cast<TVelBaseEdit*>(Object))
        return edit->CreateAccessibleInterface();
    return nullptr;
}

// The caption of an edit is the label the window linked to it as buddy, wherever it sits.
QString CaptionOf(const QWidget* Edit)
{
    const QWidget* top = Edit->window();
    for (const QLabel* label : top->findChildren<QLabel*>())
        if (label->buddy() == Edit) {
            QString s = label->text();
            // The mnemonic marker is not part of the caption; "&&" stands for one "&".
            s.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
            s.remove(u'&');
            s.replace(QChar(1), u'&');
            return s;
        }
    return {};
}

TVelAccessibleEventHook& EventHook()
{
    static TVelAccessibleEventHook hook;
    return hook;
}

} // namespace

TVelAccessibleEventHook SetVelAccessibleEventHook(TVelAccessibleEventHook Hook)
{
    return std::exchange(EventHook(), std::move(Hook));
}

bool VelAccessibleListening()
{
    return EventHook() || QAccessible::isActive();
}

void VelSendAccessibleEvent(QAccessibleEvent& Event)
{
    if (EventHook())
        EventHook()(&Event);
    if (QAccessible::isActive())
        QAccessible::updateAccessibility(&Event);
}

void VelInstallEditAccessibility()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(EditFactory);
}

TVelEditAccessible::TVelEditAccessible(TVelBaseEdit* Edit, QAccessible::Role Role) : QAccessibleWidget(Edit, Role) {}

TVelBaseEdit* TVelEditAccessible::Edit() const
{
    return static_cast<TVelBaseEdit*>(widget());
}

QString TVelEditAccessible::ShownText() const
{
    const QChar mask(static_cast<char16_t>(Edit()->Perform(EM_GETPASSWORDCHAR)));
    return mask.isNull() ? Edit()->Text() : QString(Edit()->Text().length(), mask);
}

QString TVelEditAccessible::text(QAccessible::Text T) const
{
    switch (T) {
    case QAccessible::Name:
        if (!widget()->accessibleName().isEmpty())
            return widget()->accessibleName();
        return CaptionOf(widget());
    case QAccessible::Value: return ShownText();
    default: return QAccessibleWidget::text(T);
    }
}

void TVelEditAccessible::setText(QAccessible::Text T, const QString& Text)
{
    if (T != QAccessible::Value) {
        QAccessibleWidget::setText(T, Text);
        return;
    }
    // A screen reader's edit is the user's edit: one undoable replacement through the hooks.
    Select(0, characterCount());
    Edit()->ReplaceSelection(Text);
}

QAccessible::State TVelEditAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.editable = !Edit()->ReadOnly();
    s.readOnly = Edit()->ReadOnly();
    s.selectableText = true;
    s.passwordEdit = Edit()->Perform(EM_GETPASSWORDCHAR) != 0;
    return s;
}

void* TVelEditAccessible::interface_cast(QAccessible::InterfaceType T)
{
    if (T == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (T == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(T);
}

void TVelEditAccessible::selection(int SelectionIndex, int* StartOffset, int* EndOffset) const
{
    *StartOffset = *EndOffset = 0;
    if (SelectionIndex != 0 || Edit()->SelLength() <= 0)
        return;
    *StartOffset = Edit()->SelStart() - 1;
    *EndOffset = std::min(Edit()->SelStart() - 1 + Edit()->SelLength(), characterCount());
}

int TVelEditAccessible::selectionCount() const
{
    return Edit()->SelLength() > 0 ? 1 : 0;
}

void TVelEditAccessible::Select(int StartOffset, int EndOffset)
{
    const int n = characterCount();
    StartOffset = std::clamp(StartOffset, 0, n);
    EndOffset = std::clamp(EndOffset, 0, n);
    if (EndOffset < StartOffset)
        std::swap(StartOffset, EndOffset);
    Edit()->Perform(EM_SETSEL, static_cast<WPARAM>(StartOffset), EndOffset);
    if (StartOffset == EndOffset)
        Edit()->SetSelLength(0);
}

void TVelEditAccessible::addSelection(int StartOffset, int EndOffset)
{
    Select(StartOffset, EndOffset);
}

void TVelEditAccessible::removeSelection(int SelectionIndex)
{
    if (SelectionIndex == 0)
        Edit()->SetSelLength(0);
}

void TVelEditAccessible::setSelection(int SelectionIndex, int StartOffset, int EndOffset)
{
    if (SelectionIndex == 0)
        Select(StartOffset, EndOffset);
}

int TVelEditAccessible::cursorPosition() const
{
    return Edit()->CursorPos() - 1;
}

void TVelEditAccessible::setCursorPosition(int Position)
{
    Select(Position, Position);
}

QString TVelEditAccessible::text(int StartOffset, int EndOffset) const
{
    const QString s = ShownText();
    StartOffset = std::clamp(StartOffset, 0, int(s.length()));
    EndOffset = std::clamp(EndOffset, StartOffset, int(s.length()));
    return s.mid(StartOffset, EndOffset - StartOffset);
}

int TVelEditAccessible::characterCount() const
{
    return static_cast<int>(Edit()->Text().length());
}

QRect TVelEditAccessible::characterRect(int Offset) const
{
    const int n = characterCount();
    if (Offset < 0 || Offset > n)
        return {};
    const TVelBaseEdit* e = Edit();
    const int x = e->CharPosToX(Offset + 1);
    const int width = Offset < n ? e->CharPosToX(Offset + 2) - x : 1;
    const int height = QFontMetrics(e->font()).height();
    const int top = e->TextRect().top() + (e->TextRect().height() - height) / 2;
    return QRect(e->mapToGlobal(QPoint(x, top)), QSize(std::max(width, 1), height));
}

int TVelEditAccessible::offsetAtPoint(const QPoint& Point) const
{
    const QPoint local = Edit()->mapFromGlobal(Point);
    if (!Edit()->rect().contains(local))
        return -1;
    for (int i = 0; i < characterCount(); ++i)
        if (characterRect(i).contains(Point))
            return i;
    return -1;
}

void TVelEditAccessible::scrollToSubstring(int /*StartIndex*/, int EndIndex)
{
    // Moving the caret there scrolls it into view.
    setCursorPosition(EndIndex);
}

QString TVelEditAccessible::attributes(int Offset, int* StartOffset, int* EndOffset) const
{
    // One run of plain text without attributes.
    *StartOffset = 0;
    *EndOffset = characterCount();
    (void)Offset;
    return {};
}

void TVelEditAccessible::deleteText(int StartOffset, int EndOffset)
{
    replaceText(StartOffset, EndOffset, QString());
}

void TVelEditAccessible::insertText(int Offset, const QString& Text)
{
    replaceText(Offset, Offset, Text);
}

void TVelEditAccessible::replaceText(int StartOffset, int EndOffset, const QString& Text)
{
    Select(StartOffset, EndOffset);
    Edit()->ReplaceSelection(Text);
}
