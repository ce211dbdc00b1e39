#pragma once

#include <QString>
#include <cstdint>
#include <memory>

#include "VelDynLIFOBuffer.h"

// The state before one edit, enough to replay it backwards.
struct UndoRecord {
    QString InsertedText;
    QString ReplacedText;
    int SelStart = 1;
    int SelLength = 0;
    int InsertedLength = 0;
    int CursorPos = 1;
};

// What the text store asks of whoever shows it. Every call has a harmless default, so the store
// works on its own (tests, tools) and the edit widget overrides only what it draws or announces.
class IVelEditTextHost {
public:
    virtual ~IVelEditTextHost() = default;

    // Open and close every transaction (ReplaceSelection, Undo), outermost and nested alike, even
    // a refused one: what a transaction did is judged when it is over.
    virtual void ChangeStarting() {}
    virtual void ChangeFinished() {}

    // The hooks of one edit, in the order ReplaceSelection calls them.
    virtual bool EditAllowed(const QString& S);
    virtual void SupplyRemovalText(QString& S);
    virtual void EditStarting() {}
    virtual void RemovingText(int /*At*/, const QString& /*S*/) {}
    virtual void FilteringInsert(int /*At*/, QString& /*S*/) {}
    virtual void TextChanged(int /*At*/) {}
    virtual void EditFinished() {}

    virtual void CaretMoved() {}
    virtual void SelectionChanged() {}
    virtual void ModifiedChanged() {}

    // The keyboard state the edits share (insert mode 1, Shift 2, Ctrl 4, Alt 8). The edit widget
    // keeps it in the library's application object; a store on its own keeps its own.
    virtual std::uint8_t KeyboardState() const { return keyboardState_; }
    virtual void SetKeyboardState(std::uint8_t State) { keyboardState_ = State; }

    // While deferred, caret moves neither extend the selection nor notify, and SelLength changes
    // do not redraw; the end of the bracket finishes everything at once.
    virtual bool Deferred() const { return deferred_ != 0; }
    virtual void BeginDeferred() { ++deferred_; }
    virtual void EndDeferred(bool /*Notify*/)
    {
        if (deferred_ > 0)
            --deferred_;
    }

private:
    int deferred_ = 0;
    std::uint8_t keyboardState_ = 1;
};

// The text, caret, selection and undo history of a single-line edit, without any widget.
// Positions count characters from 1. ReplaceSelection is the one transaction through which every
// change of the text passes: it mutates through small primitives and finishes once.
class TVelEditText {
public:
    explicit TVelEditText(IVelEditTextHost* Host = nullptr);
    ~TVelEditText();
    TVelEditText(const TVelEditText&) = delete;
    TVelEditText& operator=(const TVelEditText&) = delete;

    const QString& Text() const { return text_; }
    int Length() const { return static_cast<int>(text_.length()); }
    // Stores S without record or notification; the widget finishes the reset itself.
    bool Assign(const QString& S);
    QString SelText() const;
    QChar CharAt(int Pos) const;

    int CursorPos() const { return cursorPos_; }
    void SetCursorPos(int Value);
    int PrevCursorPos() const { return prevCursorPos_; }
    int SelStart() const { return selStart_; }
    void SetSelStart(int Value) { selStart_ = Value; }
    int SelLength() const { return selLength_; }
    void SetSelLength(int Value);
    // Sets the length without the collapse rule or a redraw (the Delete key's one-character grab).
    void SetSelLengthDirect(int Value) { selLength_ = Value; }

    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int Value) { maxLength_ = Value; }
    bool Modified() const { return modified_; }
    void SetModified(bool Value);
    bool CanUndo() const { return canUndo_; }
    void SetCanUndo(bool Value) { canUndo_ = Value; }
    int UndoCount() const { return undo_.Count(); }

    bool ForceOverwriteMode() const { return forceOverwriteMode_; }
    void SetForceOverwriteMode(bool Value) { forceOverwriteMode_ = Value; }
    bool OEMConvert() const { return oemConvert_; }
    void SetOEMConvert(bool Value) { oemConvert_ = Value; }
    bool SelectionEnabled() const { return selectionEnabled_; }
    void SetSelectionEnabled(bool Value) { selectionEnabled_ = Value; }
    QString WordDelimiters() const { return wordDelimiters_; }
    void SetWordDelimiters(const QString& Value) { wordDelimiters_ = Value; }
    bool IsDelimiter(int Pos) const;

    void ReplaceSelection(const QString& S);
    void SelectAll();
    void Undo();
    void ClearUndo();
    void EmptyUndoBuffer();

    void UpdateSelection();
    // Widens the selection, or moves an empty one back, so that no edge of it splits a character.
    void WholeSelection();
    // The caret position one character before or after Pos: a surrogate pair is one character,
    // and so is a CR/LF line break.
    int CharLeftOf(int Pos) const;
    int CharRightOf(int Pos) const;
    void LineStart();
    void LineEnd();
    void WordLeft();
    void WordRight();
    void SelectWord();

    // The transient flags of an edit in progress; QScopedValueRollback sets them for a scope.
    bool Typing = false;
    bool MouseSelecting = false;
    bool Dragging = false;
    bool Pasting = false;
    bool DeletionEdit = false;
    bool Undoing = false;

private:
    IVelEditTextHost& host() const { return *host_; }

    // Stands in for a host when none is given, with a keyboard state of this store's own.
    IVelEditTextHost ownHost_;
    IVelEditTextHost* host_;
    QString text_;
    int cursorPos_ = 1;
    int prevCursorPos_ = 1;
    int selStart_ = 1;
    int selLength_ = 0;
    int maxLength_ = 0;
    bool modified_ = false;
    bool canUndo_ = true;
    bool forceOverwriteMode_ = false;
    bool oemConvert_ = false;
    bool selectionEnabled_ = true;
    QString wordDelimiters_ = QStringLiteral(" ");
    TVelDynLIFOBuffer undo_;
};

// Position arithmetic counts from 1 and tolerates ranges that leave the text, so a stray
// selection can never reach outside the buffer.
QString VelCopyText(const QString& S, int Index, int Count);

// Whole characters. A character outside the Basic Multilingual Plane is two UTF-16 units, a
// surrogate pair; a caret, a selection edge or a cut between them would leave text that is no
// longer valid and cannot be copied or saved as it was.
// True when position Pos stands between the two halves of a pair.
bool VelSplitsPair(const QString& S, int Pos);
// Pos, or the nearest position off the middle of a pair: after the pair when Forward, else before.
int VelWholePos(const QString& S, int Pos, bool Forward);
// The units of the character at Pos: 2 for a pair, else 1.
int VelCharUnits(const QString& S, int Pos);
// S with every lone surrogate replaced by U+FFFD, the character that stands for what cannot be read.
QString VelWholeCharacters(QString S);
