#pragma once

#include <QElapsedTimer>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <functional>
#include <memory>

#include "VelCaret.h"
#include "VelCustomBevelPanel.h"
#include "VelEditAnnouncer.h"
#include "VelEditText.h"

class QAccessibleInterface;
class QMenu;
class QTextLayout;
class TVelBaseEdit;
class TVelTimer;

// Edit options, as bits.
enum : unsigned {
    eoNarrowHeight = 1,
    eoSuppressDefaultMenu = 2,
    eoUserLocale = 4,
    eoAllowCopy = 8,
    eoAllowCut = 16,
    eoAllowPaste = 32,
};

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// The abstract validator an edit informs after every change. A failed check reports its
// ErrorLevel through the edit's OnValidationError; a level of 0 counts as passed.
class TVelValidationEntity {
public:
    virtual ~TVelValidationEntity() = default;
    virtual bool IsValid(const QString& S) = 0;
    int ErrorLevel() const { return errorLevel_; }
    void SetErrorLevel(int Value) { errorLevel_ = Value; }
    bool Active() const { return active_; }
    void SetActive(bool Value) { active_ = Value; }

private:
    int errorLevel_ = 1;
    bool active_ = true;
};

// The single-line edit widget. Text, caret, selection and undo live in a TVelEditText; this class
// keeps the virtual hooks descendants override, routes the store's callbacks to them, and turns
// keys, mouse, focus and messages into store operations. Each concern has its own source file:
// VelBaseEdit.cpp (state, hooks), VelEditKeys.cpp (key map), VelEditKeyboardState.* (shared
// modifier bits), VelEditMouse.cpp (gestures), VelEditContextMenu.cpp, VelEditFocus.cpp,
// VelEditGeometry.cpp (text area, scrolling, hit testing), VelEditMessages.cpp (message table),
// VelEditClipboard.cpp, VelEditInputMethod.cpp, VelEditPaint.cpp (drawing, caret shape) and
// VelEditAccessible.* and VelEditAnnouncer.* (screen readers).
class TVelBaseEdit : public TVelCustomBevelPanel {
    Q_OBJECT
public:
    explicit TVelBaseEdit(QWidget* parent = nullptr);
    ~TVelBaseEdit() override;

    QString Text() const { return store_.Text(); }
    virtual void SetText(const QString& S);
    QString SelText() const { return store_.SelText(); }

    int CursorPos() const { return store_.CursorPos(); }
    void SetCursorPos(int Value) { store_.SetCursorPos(Value); }
    int PrevCursorPos() const { return store_.PrevCursorPos(); }
    int SelStart() const { return store_.SelStart(); }
    void SetSelStart(int Value) { store_.SetSelStart(Value); }
    int SelLength() const { return store_.SelLength(); }
    void SetSelLength(int Value) { store_.SetSelLength(Value); }
    int MaxLength() const { return store_.MaxLength(); }
    void SetMaxLength(int Value) { store_.SetMaxLength(Value); }
    bool Modified() const { return store_.Modified(); }
    void SetModified(bool Value) { store_.SetModified(Value); }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool Value);
    bool CanUndo() const { return store_.CanUndo(); }
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool Value) { autoSelect_ = Value; }
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool Value);
    bool OEMConvert() const { return store_.OEMConvert(); }
    void SetOEMConvert(bool Value) { store_.SetOEMConvert(Value); }
    bool FocusOnMouseAbove() const { return focusOnMouseAbove_; }
    void SetFocusOnMouseAbove(bool Value) { focusOnMouseAbove_ = Value; }
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase Value) { charCase_ = Value; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    bool ForceOverwriteMode() const { return store_.ForceOverwriteMode(); }
    void SetForceOverwriteMode(bool Value) { store_.SetForceOverwriteMode(Value); }
    bool TabOnEnter() const { return tabOnEnter_; }
    void SetTabOnEnter(bool Value) { tabOnEnter_ = Value; }
    bool DraggingAllowed() const { return draggingAllowed_; }
    void SetDraggingAllowed(bool Value) { draggingAllowed_ = Value; }
    unsigned Options() const { return options_; }
    void SetOptions(unsigned Value) { options_ = Value; }
    TColor HighlightBack() const { return highlightBack_; }
    void SetHighlightBack(TColor Value);
    TColor HighlightText() const { return highlightText_; }
    void SetHighlightText(TColor Value);
    int ScrollOffset() const { return scrollOffset_; }
    QRect EditRect() const { return editRect_; }
    QRect TextRect() const { return textRect_; }
    // Characters that end a word for the word-wise caret moves.
    QString WordDelimiters() const { return store_.WordDelimiters(); }
    void SetWordDelimiters(const QString& Value) { store_.SetWordDelimiters(Value); }
    TVelValidationEntity* Validator() const { return validator_; }
    void SetValidator(TVelValidationEntity* Value) { validator_ = Value; }
    bool ValidationError() const { return validationError_; }
    // A menu of the caller's own shown instead of the built-in one; the edit does not own it.
    QMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(QMenu* Value) { popupMenu_ = Value; }
    // Number of undo records held.
    int UndoCount() const { return store_.UndoCount(); }
    // The caret settings; SetCaret copies those of Value.
    TVelCaret* Caret() const { return caret_.get(); }
    void SetCaret(const TVelCaret* Value) { caret_->Assign(Value); }

    // Pixel height of S in the edit's font.
    int TextHeightOf(const QString& S) const;
    // Client x of the caret standing before character Pos, as drawn now.
    int CharPosToX(int Pos) const;

    void ReplaceSelection(const QString& S) { store_.ReplaceSelection(S); }
    void DeleteSelection();
    void ClearText();
    virtual void SelectAll();
    void Undo() { store_.Undo(); }
    void ClearUndo() { store_.ClearUndo(); }
    void CopyToClipboard();
    virtual void CutToClipboard();
    virtual void PasteFromClipboard();

    void Loaded() override;
    void RecreateWnd() override;

    // The screen-reader view of this edit; the library's accessibility factory asks for it, and an
    // edit with more to say (a spin box) returns a richer one.
    virtual QAccessibleInterface* CreateAccessibleInterface();

    TNotifyEvent OnChange, OnModified, OnCursorPosChanged;
    std::function<void(QObject* Sender, int At)> OnTextChangedAt;
    std::function<void(QObject* Sender, QPoint MousePos, bool& Handled)> OnContextPopup;
    std::function<void(QObject* Sender, int ErrorLevel)> OnValidationError;

    QVariant inputMethodQuery(Qt::InputMethodQuery Query) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    virtual void GetRemovalText(QString& S);
    virtual void GetValidationText(QString& S);
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
    virtual void AlignmentChanged() {}
    virtual bool BackspaceExtendsSelection() { return false; }
    virtual bool CopyPasteAllowed() const;
    virtual bool RedrawOnFocusChange() const { return false; }
    virtual bool CueBannerOnFocus() const { return false; }
    virtual bool KeepSelectionOnFocusChange() const { return false; }
    // Caret position for a client x.
    virtual int CharIndexAtX(int X);
    // The answer to EM_CHARFROMPOS: character index (from 0) in the low word, line in the high.
    virtual LRESULT CharFromPos(int X, int Y);
    // The key map; descendants override it to change what keys do.
    virtual void ProcessKey(std::uint16_t& Key, Qt::KeyboardModifiers Shift);
    // The text as drawn and measured; the custom edit substitutes its display text.
    virtual QString ShownText() const { return store_.Text(); }
    virtual void UpdateTextRect();
    // The button-layout step of UpdateTextRect: takes the room buttons need off the right of the
    // edit area before the text area is derived from it, and places them there.
    virtual void LayoutButtons(QRect& /*EditArea*/) {}
    // Draws the text area: text, selection highlight and caret.
    virtual void PaintText(QPainter& Canvas);
    virtual void SelectWord();

    bool IsDeletionEdit() const { return store_.DeletionEdit; }
    bool IsTyping() const { return store_.Typing; }
    bool IsPasting() const { return store_.Pasting; }
    bool IsUndoing() const { return store_.Undoing; }
    bool IsMouseSelecting() const { return store_.MouseSelecting; }
    bool IsDragging() const { return store_.Dragging; }
    bool IsSelectionHidden() const { return selectionHidden_; }
    bool SelectionEnabled() const { return store_.SelectionEnabled(); }
    void SetSelectionEnabled(bool Value) { store_.SetSelectionEnabled(Value); }

    void UpdateSelection() { store_.UpdateSelection(); }
    void LineStart() { store_.LineStart(); }
    void LineEnd() { store_.LineEnd(); }
    void WordLeft() { store_.WordLeft(); }
    void WordRight() { store_.WordRight(); }

    // Types one character as the keyboard or an input method would: the typing flag is set and
    // the character cased by CharCase (Unicode rules when Unicode is true, else only a-z/A-Z).
    void TypeText(QString S, bool Unicode);

    // The built-in context menu, built fresh with the items enabled for the current state.
    QMenu* CreateDefaultContextMenu();

    void WndProc(TMessage& Message) override;
    void KeyDown(std::uint16_t& Key, Qt::KeyboardModifiers Shift) override;
    void KeyUp(std::uint16_t& Key, Qt::KeyboardModifiers Shift) override;
    void KeyPress(QChar& Key) override;
    void MouseEntered() override;
    void Paint(QPainter& Canvas) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void inputMethodEvent(QInputMethodEvent* Event) override;

    TVelEditText& Store() { return store_; }
    const TVelEditText& Store() const { return store_; }

    // Makes the edits made while it lives one change for a screen reader, told when the outermost
    // one ends (see TVelEditAnnouncer). Every ReplaceSelection, Undo and SetText is one already;
    // a descendant opens one around an operation that takes several (a step, a sign toggle).
    class TChangeScope {
    public:
        explicit TChangeScope(TVelBaseEdit& Edit) : edit_(Edit) { edit_.announcer_.BeginChange(); }
        ~TChangeScope() { edit_.announcer_.EndChange(); }
        TChangeScope(const TChangeScope&) = delete;
        TChangeScope& operator=(const TChangeScope&) = delete;

    private:
        TVelBaseEdit& edit_;
    };

private:
    // Routes the store's callbacks to the hooks. A member rather than a base class, so that the
    // callback names never meet the names descendants give their own functions.
    class TStoreHost : public IVelEditTextHost {
    public:
        explicit TStoreHost(TVelBaseEdit& Edit) : edit_(Edit) {}
        void ChangeStarting() override { edit_.announcer_.BeginChange(); }
        void ChangeFinished() override { edit_.announcer_.EndChange(); }
        bool EditAllowed(const QString& S) override { return edit_.CanModify(S); }
        void SupplyRemovalText(QString& S) override { edit_.GetRemovalText(S); }
        void EditStarting() override { edit_.BeforeEdit(); }
        void RemovingText(int At, const QString& S) override { edit_.TextRemoved(At, S); }
        void FilteringInsert(int At, QString& S) override { edit_.FilterInsertText(At, S); }
        void TextChanged(int At) override { edit_.TextChangedAt(At); }
        void EditFinished() override { edit_.AfterEdit(); }
        void CaretMoved() override;
        void SelectionChanged() override;
        void ModifiedChanged() override;
        std::uint8_t KeyboardState() const override;
        void SetKeyboardState(std::uint8_t State) override;
        bool Deferred() const override { return edit_.UpdatesLocked(); }
        void BeginDeferred() override { edit_.LockUpdates(); }
        void EndDeferred(bool Notify) override { edit_.UnlockUpdates(Notify); }

    private:
        TVelBaseEdit& edit_;
    };

    // Messages, one handler per concern.
    bool HandleEditMessage(TMessage& Message);
    void HandleFocusIn();
    void HandleFocusOut();
    void HandleMouseDown(LPARAM Pos);
    void HandleDoubleClick();
    void HandleMouseMove(WPARAM Keys, LPARAM Pos);
    void HandleMouseUp();
    void HandleContextMenu(LPARAM Pos);
    void HandleComposition(TMessage& Message);
    void CountClick(QPoint Pos);
    void PlaceCaretAtMouse();
    void AutoScrollTick();
    void StopAutoScroll();
    void EndDrag();
    void DropDraggedText();
    void PastePrimaryAt(QPoint Pos);
    void OfferPrimarySelection();
    void MoveFocusToNext();
    void StoreShiftState(Qt::KeyboardModifiers Shift);
    int AlignedStartX() const;
    int TextWidth(int Chars) const;
    // The shown text shaped once per change; measuring and drawing both read it.
    const QTextLayout& Layout() const;
    // What the frame leaves of the client area for the text and the buttons.
    QRect FrameContentRect() const;
    // Gives the system caret the current shape and shows it; on focus and on a font change.
    void ShapeCaret();
    // The caret's line: the text line it stands on, as drawn.
    int CaretLineHeight() const;

    std::unique_ptr<TVelCaret> caret_;
    TVelEditAnnouncer announcer_{*this};
    TStoreHost host_{*this};
    TVelEditText store_{&host_};
    bool readOnly_ = false;
    bool hideSelection_ = true;
    bool autoSelect_ = false;
    bool focusOnMouseAbove_ = false;
    bool tabOnEnter_ = false;
    bool draggingAllowed_ = true;
    bool selectionHidden_ = false;
    bool validationError_ = false;
    TEditCharCase charCase_ = ecNormal;
    TAlignment alignment_ = taLeftJustify;
    unsigned options_ = eoAllowCopy | eoAllowCut | eoAllowPaste;
    TColor highlightBack_ = clHighlight;
    TColor highlightText_ = clHighlightText;
    TVelValidationEntity* validator_ = nullptr;
    QMenu* popupMenu_ = nullptr;

    int scrollOffset_ = 0;
    int caretX_ = 0;
    mutable std::unique_ptr<QTextLayout> layout_;
    QRect editRect_;
    QRect textRect_;

    int lastMouseX_ = 0;
    std::unique_ptr<TVelTimer> autoScroll_;
    int clickCount_ = 0;
    qint64 lastClickTime_ = -1;
    QPoint firstClickPos_;
    QElapsedTimer clock_;
    QString imeResult_;
    // The first half of a surrogate pair typed as a character of its own, waiting for the second.
    QChar pendingHighSurrogate_;
};
