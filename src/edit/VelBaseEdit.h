#pragma once

#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "VelCustomBevelPanel.h"
#include "VelDynLIFOBuffer.h"

// Edit options, as bits.
enum : unsigned {
    eoNarrowHeight = 1,
    eoSuppressDefaultMenu = 2,
    eoUserLocale = 4,
    eoAllowCopy = 8,
    eoAllowCut = 16,
    eoAllowPaste = 32,
};

// The state before one edit, enough to replay it backwards.
struct UndoRecord {
    QString InsertedText;
    QString ReplacedText;
    int SelStart = 1;
    int SelLength = 0;
    int InsertedLength = 0;
    int CursorPos = 1;
};

// The single-line edit's text store. Positions count characters from 1, and every change of the
// text goes through ReplaceSelection, whose hooks are the only way descendants shape an edit.
class TVelBaseEdit : public TVelCustomBevelPanel {
public:
    explicit TVelBaseEdit(QWidget* parent = nullptr);
    ~TVelBaseEdit() override;

    QString Text() const { return text_; }
    virtual void SetText(const QString& S);
    QString SelText() const;

    int CursorPos() const { return cursorPos_; }
    void SetCursorPos(int Value);
    int PrevCursorPos() const { return prevCursorPos_; }
    int SelStart() const { return selStart_; }
    void SetSelStart(int Value) { selStart_ = Value; }
    int SelLength() const { return selLength_; }
    void SetSelLength(int Value);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int Value) { maxLength_ = Value; }
    bool Modified() const { return modified_; }
    void SetModified(bool Value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool Value);
    bool CanUndo() const { return canUndo_; }
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool Value) { autoSelect_ = Value; }
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool Value);
    bool ForceOverwriteMode() const { return forceOverwriteMode_; }
    void SetForceOverwriteMode(bool Value) { forceOverwriteMode_ = Value; }
    bool TabOnEnter() const { return tabOnEnter_; }
    void SetTabOnEnter(bool Value) { tabOnEnter_ = Value; }
    unsigned Options() const { return options_; }
    void SetOptions(unsigned Value) { options_ = Value; }
    int ScrollOffset() const { return scrollOffset_; }
    QRect EditRect() const { return editRect_; }
    QRect TextRect() const { return textRect_; }
    // Characters that end a word for the word-wise caret moves.
    QString WordDelimiters() const { return wordDelimiters_; }
    void SetWordDelimiters(const QString& Value) { wordDelimiters_ = Value; }
    // Number of undo records held.
    int UndoCount() const { return undo_.Count(); }

    void ReplaceSelection(const QString& S);
    void DeleteSelection();
    void ClearText();
    virtual void SelectAll();
    void Undo();
    void ClearUndo();
    void CopyToClipboard();
    virtual void CutToClipboard();
    virtual void PasteFromClipboard();

    void Loaded() override;

    TNotifyEvent OnChange, OnModified, OnCursorPosChanged;
    std::function<void(QObject* Sender, int At)> OnTextChangedAt;

protected:
    virtual void GetRemovalText(QString& S);
    virtual bool CanModify(const QString& S);
    virtual void BeforeEdit();
    virtual void AfterEdit();
    virtual void FilterInsertText(int At, QString& S);
    virtual void TextRemoved(int At, const QString& S);
    virtual void TextChangedAt(int At);
    virtual void TextReset();
    virtual void Change();
    virtual void RedrawText(int Pos = 0);
    virtual void UpdateCaret();
    virtual void CursorPosChanged();
    // Caret position for a client x.
    virtual int CharIndexAtX(int X);
    // The key map; descendants override it to change what keys do.
    virtual void ProcessKey(std::uint16_t& Key, Qt::KeyboardModifiers Shift);
    // The text as drawn and measured; the custom edit substitutes its display text.
    virtual QString ShownText() const { return text_; }
    virtual void UpdateTextRect();
    // Draws the text area: text, selection highlight and caret.
    virtual void PaintText(QPainter& Canvas);

    bool IsDeletionEdit() const { return deletionEdit_; }
    bool IsTyping() const { return typing_; }
    bool IsPasting() const { return pasting_; }
    bool IsUndoing() const { return undoing_; }
    bool IsMouseSelecting() const { return mouseSelecting_; }
    bool SelectionEnabled() const { return selectionEnabled_; }
    void SetSelectionEnabled(bool Value) { selectionEnabled_ = Value; }

    void UpdateSelection();
    void LineStart();
    void LineEnd();
    void WordLeft();
    void WordRight();

    void WndProc(TMessage& Message) override;
    void KeyDown(std::uint16_t& Key, Qt::KeyboardModifiers Shift) override;
    void KeyUp(std::uint16_t& Key, Qt::KeyboardModifiers Shift) override;
    void KeyPress(QChar& Key) override;
    void Paint(QPainter& Canvas) override;

private:
    void PushUndo(std::unique_ptr<UndoRecord> Record);
    void StoreShiftState(Qt::KeyboardModifiers Shift);
    void HandleFocusIn();
    void HandleFocusOut();
    void HandleMouseDown(LPARAM Pos);
    void HandleMouseMove(WPARAM Keys, LPARAM Pos);
    void MoveFocusToNext();
    bool IsDelimiter(int Pos) const;
    int TextWidth(int Chars) const;
    int TextTop() const;
    QChar CharAt(int Pos) const;

    QString text_;
    int cursorPos_ = 1;
    int prevCursorPos_ = 1;
    int selStart_ = 1;
    int selLength_ = 0;
    int maxLength_ = 0;
    bool modified_ = false;
    bool canUndo_ = true;
    bool readOnly_ = false;
    bool hideSelection_ = true;
    bool autoSelect_ = false;
    bool forceOverwriteMode_ = false;
    bool tabOnEnter_ = false;
    bool selectionEnabled_ = true;
    unsigned options_ = eoAllowCopy | eoAllowCut | eoAllowPaste;
    QString wordDelimiters_ = QStringLiteral(" ");
    int scrollOffset_ = 0;
    int caretX_ = 0;
    QRect editRect_;
    QRect textRect_;
    TVelDynLIFOBuffer undo_;

    bool typing_ = false;
    bool mouseSelecting_ = false;
    bool pasting_ = false;
    bool deletionEdit_ = false;
    bool undoing_ = false;
};
