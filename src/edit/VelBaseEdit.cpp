#include "VelBaseEdit.h"

#include <QFontMetrics>
#include <QScopedValueRollback>
#include <QTextLayout>
#include <algorithm>

#include "VelClass.h"
#include "VelEditAccessible.h"
#include "VelEditKeyboardState.h"
#include "VelTimer.h"

TVelBaseEdit::TVelBaseEdit(QWidget* parent) : TVelCustomBevelPanel(parent), caret_(std::make_unique<TVelCaret>(this))
{
    VelInstallEditAccessibility();
    VelWatchApplicationState();
    LockUpdates();
    // The classic edit: a window-coloured field inside the window's own sunken client edge.
    SetColor(clWindow);
    Bevel()->SetMode(bmWindows);
    UnlockUpdates(false);
    RecreateWnd();
    resize(width(), 21);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::IBeamCursor);
    setBackgroundRole(QPalette::Base);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled);
    // The edit's own menu is shown from the right-button release; Qt's context-menu event must not
    // reach the parent and open a second one there.
    setContextMenuPolicy(Qt::PreventContextMenu);
    clock_.start();
    UpdateTextRect();
}

QSize TVelBaseEdit::sizeHint() const
{
    // As high as the classic edit, or more when the font needs it: frame, margin and one line.
    return {121, std::max(21, QFontMetrics(font()).height() + 7)};
}

QSize TVelBaseEdit::minimumSizeHint() const
{
    return {30, sizeHint().height()};
}

TVelBaseEdit::~TVelBaseEdit()
{
    StopAutoScroll();
    // While the widget is still whole: destroying the caret repaints where it stood.
    caret_.reset();
}

void TVelBaseEdit::SetText(const QString& S)
{
    if (S == Text())
        return;
    const TChangeScope change(*this);
    store_.Assign(S);
    scrollOffset_ = 0;
    SetCursorPos(1);
    SetSelLength(0);
    TextReset();
}

void TVelBaseEdit::SetReadOnly(bool Value)
{
    if (Value == readOnly_)
        return;
    readOnly_ = Value;
    // A read-only edit takes no input-method text, so the input method should not compose for it.
    setAttribute(Qt::WA_InputMethodEnabled, !Value);
    update();
}

void TVelBaseEdit::SetHideSelection(bool Value)
{
    if (Value == hideSelection_)
        return;
    hideSelection_ = Value;
    RedrawText();
}

void TVelBaseEdit::SetAlignment(TAlignment Value)
{
    if (Value == alignment_)
        return;
    alignment_ = Value;
    scrollOffset_ = 0;
    AlignmentChanged();
    RedrawText();
    UpdateCaret();
}

void TVelBaseEdit::SetHighlightBack(TColor Value)
{
    if (Value == highlightBack_)
        return;
    highlightBack_ = Value;
    RedrawText();
}

void TVelBaseEdit::SetHighlightText(TColor Value)
{
    if (Value == highlightText_)
        return;
    highlightText_ = Value;
    RedrawText();
}

void TVelBaseEdit::DeleteSelection()
{
    ReplaceSelection(QString());
}

void TVelBaseEdit::ClearText()
{
    SelectAll();
    DeleteSelection();
}

void TVelBaseEdit::SelectAll()
{
    store_.SelectAll();
    RedrawText();
}

void TVelBaseEdit::SelectWord()
{
    store_.SelectWord();
    RedrawText();
}

void TVelBaseEdit::TypeText(QString S, bool Unicode)
{
    switch (charCase_) {
    case ecUpperCase:
        if (Unicode)
            S = S.toUpper();
        else
            for (QChar& ch : S)
                if (ch >= u'a' && ch <= u'z')
                    ch = QChar(ch.unicode() - 32);
        break;
    case ecLowerCase:
        if (Unicode)
            S = S.toLower();
        else
            for (QChar& ch : S)
                if (ch >= u'A' && ch <= u'Z')
                    ch = QChar(ch.unicode() + 32);
        break;
    case ecNormal: break;
    }
    const QScopedValueRollback typing(store_.Typing, true);
    ReplaceSelection(S);
}

void TVelBaseEdit::Loaded()
{
    TVelCustomBevelPanel::Loaded();
    UpdateTextRect();
    update();
}

void TVelBaseEdit::RecreateWnd()
{
    // The window's border decides where the client area, and with it the text, lies.
    TVelCustomBevelPanel::RecreateWnd();
    UpdateTextRect();
}

void TVelBaseEdit::GetRemovalText(QString& S)
{
    S.clear();
}

void TVelBaseEdit::GetValidationText(QString& S)
{
    S = Text();
}

bool TVelBaseEdit::CanModify(const QString& /*S*/)
{
    return !readOnly_;
}

void TVelBaseEdit::BeforeEdit() {}

void TVelBaseEdit::AfterEdit() {}

void TVelBaseEdit::FilterInsertText(int /*At*/, QString& /*S*/) {}

void TVelBaseEdit::TextRemoved(int /*At*/, const QString& /*S*/) {}

bool TVelBaseEdit::CopyPasteAllowed() const
{
    return (options_ & eoAllowCopy) && (options_ & eoAllowPaste);
}

void TVelBaseEdit::TextChangedAt(int At)
{
    if (UpdatesLocked())
        return;
    RedrawText(At);
    if (IsLoading())
        return;
    if (OnTextChangedAt)
        OnTextChangedAt(this, At);
    Change();
}

void TVelBaseEdit::TextReset()
{
    RedrawText();
}

void TVelBaseEdit::Change()
{
    if (OnChange)
        OnChange(this);
    if (!validator_ || !validator_->Active())
        return;
    QString s;
    GetValidationText(s);
    const int level = validator_->IsValid(s) ? 0 : validator_->ErrorLevel();
    validationError_ = level > 0;
    if (validationError_ && OnValidationError)
        OnValidationError(this, level);
}

void TVelBaseEdit::CursorPosChanged()
{
    UpdateCaret();
    if (OnCursorPosChanged)
        OnCursorPosChanged(this);
}

void TVelBaseEdit::TStoreHost::CaretMoved()
{
    edit_.CursorPosChanged();
    edit_.announcer_.CaretMoved();
}

void TVelBaseEdit::TStoreHost::SelectionChanged()
{
    edit_.RedrawText();
    edit_.announcer_.CaretMoved();
}

void TVelBaseEdit::TStoreHost::ModifiedChanged()
{
    if (edit_.OnModified)
        edit_.OnModified(&edit_);
}

std::uint8_t TVelBaseEdit::TStoreHost::KeyboardState() const
{
    return VelApplication()->KeyboardState();
}

void TVelBaseEdit::TStoreHost::SetKeyboardState(std::uint8_t State)
{
    VelApplication()->SetKeyboardState(State);
}

QAccessibleInterface* TVelBaseEdit::CreateAccessibleInterface()
{
    return new TVelEditAccessible(this);
}
