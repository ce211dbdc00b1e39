#pragma once

#include <QAccessibleEditableTextInterface>
#include <QAccessibleTextInterface>
#include <QAccessibleWidget>
#include <functional>

class TVelBaseEdit;

// What a screen reader sees of an edit: editable text named by the label that captions it, with
// its text, caret, selection and character rectangles. Richer edits (the number edits' spin box)
// derive from it and add their role and interfaces.
class TVelEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit TVelEditAccessible(TVelBaseEdit* Edit, QAccessible::Role Role = QAccessible::EditableText);

    TVelBaseEdit* Edit() const;

    QString text(QAccessible::Text T) const override;
    void setText(QAccessible::Text T, const QString& Text) override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType T) override;

    void selection(int SelectionIndex, int* StartOffset, int* EndOffset) const override;
    int selectionCount() const override;
    void addSelection(int StartOffset, int EndOffset) override;
    void removeSelection(int SelectionIndex) override;
    void setSelection(int SelectionIndex, int StartOffset, int EndOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int Position) override;
    QString text(int StartOffset, int EndOffset) const override;
    int characterCount() const override;
    QRect characterRect(int Offset) const override;
    int offsetAtPoint(const QPoint& Point) const override;
    void scrollToSubstring(int StartIndex, int EndIndex) override;
    QString attributes(int Offset, int* StartOffset, int* EndOffset) const override;

    void deleteText(int StartOffset, int EndOffset) override;
    void insertText(int Offset, const QString& Text) override;
    void replaceText(int StartOffset, int EndOffset, const QString& Text) override;

protected:
    // The text as shown: masked by the password character when one is set.
    QString ShownText() const;
    void Select(int StartOffset, int EndOffset);
};

// Installs the accessibility factory for the library's edits once; every edit calls it.
void VelInstallEditAccessibility();

// Qt passes accessibility events on only while a screen reader has switched the platform's
// accessibility on. The edits build their events only when someone listens: that, or a hook
// installed here (a recorder, a logging tool). Returns the previous hook.
using TVelAccessibleEventHook = std::function<void(QAccessibleEvent* Event)>;
TVelAccessibleEventHook SetVelAccessibleEventHook(TVelAccessibleEventHook Hook);
bool VelAccessibleListening();
void VelSendAccessibleEvent(QAccessibleEvent& Event);
