// The edit's strip of custom buttons: the collection and its items, and the edit's side of it
// (room taken off the edit area, placement, clicks, themes).
#include "VelSpecialButton.h"

#include <QPointer>
#include <algorithm>

#include "VelCustomEdit.h"

TVelSpecialButton::TVelSpecialButton(TVelSpecialButtons* Collection)
    : collection_(Collection), button_(std::make_unique<TVelSpeedButton>()),
      layout_(std::make_unique<TVelButtonLayout>())
{
    TVelCustomEdit* edit = collection_->Edit();
    button_->SetColor(clBtnFace);
    button_->SetCursor(Qt::ArrowCursor);
    button_->SetShowHint(true);
    button_->SetTransparent(false);
    if (edit) {
        button_->SetButtonStyle(edit->CustomButtonsStyle());
        button_->SetThemeMode(edit->CustomButtonParentCtlXP() ? edit->ThemeMode() : themeMode_);
        // Placed by the next layout; until then it takes no room and shows nowhere.
        button_->SetBounds(0, 0, 0, 0);
        button_->SetParent(edit);
    } else {
        button_->SetThemeMode(themeMode_);
    }
    button_->OnClick = [this](QObject*) { Clicked(); };
    layout_->OnChange = [this](QObject*) { ApplyFace(); };
    ApplyFace();
}

TVelSpecialButton::~TVelSpecialButton()
{
    layout_->OnChange = nullptr;
    button_->OnClick = nullptr;
}

int TVelSpecialButton::Index() const
{
    return collection_->IndexOf(this);
}

void TVelSpecialButton::SetCaption(const QString& Value)
{
    if (Value == button_->Caption())
        return;
    button_->SetCaption(Value);
    Changed();
}

void TVelSpecialButton::SetHint(const QString& Value)
{
    if (Value == button_->Hint())
        return;
    button_->SetHint(Value);
    Changed();
}

void TVelSpecialButton::SetGlyph(const QImage& Value)
{
    glyph_ = Value;
    ApplyFace();
}

void TVelSpecialButton::SetEnabled(bool Value)
{
    if (Value == enabled_)
        return;
    enabled_ = Value;
    button_->SetEnabled(Value);
    Changed();
}

void TVelSpecialButton::SetGroupIndex(int Value)
{
    if (Value == button_->GroupIndex())
        return;
    button_->SetGroupIndex(Value);
    Changed();
}

void TVelSpecialButton::SetAllowAllUp(bool Value)
{
    if (Value == button_->AllowAllUp())
        return;
    button_->SetAllowAllUp(Value);
    Changed();
}

QFont TVelSpecialButton::Font() const
{
    if (font_)
        return *font_;
    TVelCustomEdit* edit = collection_->Edit();
    return edit ? edit->font() : QFont();
}

void TVelSpecialButton::SetFont(const QFont& Value)
{
    if (font_ && *font_ == Value)
        return;
    font_ = Value;
    ApplyFace();
}

void TVelSpecialButton::SetParentFont(bool Value)
{
    if (Value == ParentFont())
        return;
    if (Value)
        font_.reset();
    else
        font_ = Font();
    ApplyFace();
}

void TVelSpecialButton::SetThemeMode(TVelThemeMode Value)
{
    if (Value == themeMode_)
        return;
    themeMode_ = Value;
    TVelCustomEdit* edit = collection_->Edit();
    if (!edit || !edit->CustomButtonParentCtlXP())
        button_->SetThemeMode(Value);
    Changed();
}

void TVelSpecialButton::ApplyFace()
{
    button_->LockUpdates();
    button_->SetGlyph(glyph_);
    button_->SetButtonLayout(layout_.get());
    if (font_)
        button_->SetFont(*font_);
    else
        button_->SetParentFont(true);
    button_->UnlockUpdates(true);
    Changed();
}

void TVelSpecialButton::Assign(const TVelSpecialButton& Source)
{
    if (&Source == this)
        return;
    collection_->BeginUpdate();
    SetCaption(Source.Caption());
    SetHint(Source.Hint());
    SetEnabled(Source.Enabled());
    SetCursor(Source.Cursor());
    SetGroupIndex(Source.GroupIndex());
    // The group's behaviour belongs with its index; a copy that lost it would latch differently.
    SetAllowAllUp(Source.AllowAllUp());
    SetThemeMode(Source.ThemeMode());
    SetImageIndex(Source.ImageIndex());
    SetListIndex(Source.ListIndex());
    OnClick = Source.OnClick;
    layout_->OnChange = nullptr;
    layout_->Assign(Source.layout_.get());
    layout_->OnChange = [this](QObject*) { ApplyFace(); };
    glyph_ = Source.glyph_;
    font_ = Source.font_;
    ApplyFace();
    collection_->EndUpdate();
}

void TVelSpecialButton::Changed()
{
    collection_->ItemChanged(this);
}

void TVelSpecialButton::Clicked()
{
    // The handler may free this item, the whole strip or even the edit: everything needed after
    // it is taken first and checked again.
    const int index = Index();
    QPointer<TVelCustomEdit> edit = collection_->Edit();
    QPointer<TVelSpeedButton> button = button_.get();
    if (OnClick)
        OnClick(this, index);
    if (edit)
        edit->CustomButtonClick(button, index);
}

TVelSpecialButtons::TVelSpecialButtons(TVelCustomEdit* Edit) : edit_(Edit) {}

TVelSpecialButtons::~TVelSpecialButtons()
{
    // The edit may be going too; nothing is laid out or reported while the items are freed.
    OnItemChanged = nullptr;
    edit_ = nullptr;
    ++updateCount_;
    items_.clear();
}

TVelSpecialButton* TVelSpecialButtons::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        return nullptr;
    return items_[static_cast<std::size_t>(Index)].get();
}

int TVelSpecialButtons::IndexOf(const TVelSpecialButton* Item) const
{
    const auto it = std::find_if(items_.begin(), items_.end(), [Item](const auto& p) { return p.get() == Item; });
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TVelSpecialButton* TVelSpecialButtons::Add()
{
    BeginUpdate();
    items_.push_back(std::make_unique<TVelSpecialButton>(this));
    TVelSpecialButton* item = items_.back().get();
    Renumber();
    pendingChange_ = true;
    EndUpdate();
    return item;
}

void TVelSpecialButtons::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        return;
    BeginUpdate();
    items_.erase(items_.begin() + Index);
    Renumber();
    pendingChange_ = true;
    EndUpdate();
}

void TVelSpecialButtons::Clear()
{
    if (items_.empty())
        return;
    BeginUpdate();
    items_.clear();
    pendingChange_ = true;
    EndUpdate();
}

void TVelSpecialButtons::Assign(const TVelSpecialButtons& Source)
{
    if (&Source == this)
        return;
    BeginUpdate();
    while (Count() > Source.Count())
        Delete(Count() - 1);
    while (Count() < Source.Count())
        Add();
    for (int i = 0; i < Count(); ++i)
        Items(i)->Assign(*Source.Items(i));
    pendingChange_ = true;
    EndUpdate();
}

void TVelSpecialButtons::EndUpdate()
{
    if (updateCount_ > 0)
        --updateCount_;
    if (updateCount_ == 0 && pendingChange_)
        ItemChanged(nullptr);
}

void TVelSpecialButtons::Renumber()
{
    for (int i = 0; i < Count(); ++i)
        items_[static_cast<std::size_t>(i)]->Button()->SetTag(i);
}

void TVelSpecialButtons::ItemChanged(TVelSpecialButton* Item)
{
    if (updateCount_ > 0) {
        pendingChange_ = true;
        return;
    }
    pendingChange_ = false;
    if (OnItemChanged)
        OnItemChanged(this, Item);
    if (edit_)
        edit_->CustomButtonsChanged();
}

// The edit's side of the strip.

void TVelCustomEdit::SetCustomButtons(const TVelSpecialButtons& Value)
{
    customButtons_->Assign(Value);
}

void TVelCustomEdit::SetCustomButtonWidth(int Value)
{
    Value = std::max(0, Value);
    if (Value == customButtonWidth_)
        return;
    customButtonWidth_ = Value;
    CustomButtonsChanged();
}

void TVelCustomEdit::SetCustomButtonsStyle(TVelUserButtonStyle Value)
{
    if (Value == customButtonsStyle_)
        return;
    customButtonsStyle_ = Value;
    // The look changes at once; only the layout waits for the end of loading or an update bracket.
    for (int i = 0; i < customButtons_->Count(); ++i)
        customButtons_->Items(i)->Button()->SetButtonStyle(Value);
    if (!UpdatesLocked())
        CustomButtonsChanged();
}

void TVelCustomEdit::SetCustomButtonParentCtlXP(bool Value)
{
    if (Value == customButtonParentCtlXP_)
        return;
    customButtonParentCtlXP_ = Value;
    RecreateWnd();
}

void TVelCustomEdit::RecreateWnd()
{
    TVelBaseEdit::RecreateWnd();
    UpdateCustomButtonThemes();
}

void TVelCustomEdit::UpdateCustomButtonThemes()
{
    for (int i = 0; i < customButtons_->Count(); ++i) {
        TVelSpecialButton* item = customButtons_->Items(i);
        if (customButtonParentCtlXP_) {
            item->Button()->SetThemeMode(ThemeMode());
        } else {
            item->Button()->SetThemeMode(item->ThemeMode());
            item->Button()->Perform(WM_THEMECHANGED);
        }
    }
}

void TVelCustomEdit::CustomButtonsChanged()
{
    if (IsLoading())
        return;
    UpdateTextRect();
    // The text area may have shrunk under the caret.
    UpdateCaret();
    update();
}

void TVelCustomEdit::LayoutButtons(QRect& EditArea)
{
    fullEditRect_ = EditArea;
    const int n = customButtons_->Count();
    if (n == 0)
        return;
    // A bevel drawn by the edit itself, or a theme, keeps a pixel of the field around the strip.
    const bool inset = Bevel()->Mode() != bmWindows || IsThemed();
    const int w = customButtonWidth_;
    const int stripLeft = EditArea.left() + EditArea.width() - n * w - (inset ? 1 : 0);
    EditArea.setRight(stripLeft - 1);
    const int top = inset ? EditArea.top() + 1 : EditArea.top();
    const int height = std::max(0, inset ? EditArea.height() - 2 : EditArea.height());
    for (int i = 0; i < n; ++i) {
        TVelSpeedButton* button = customButtons_->Items(i)->Button();
        button->SetButtonStyle(customButtonsStyle_);
        button->SetBounds(stripLeft + i * w, top, w, height);
    }
}

void TVelCustomEdit::CustomButtonClick(TVelSpeedButton* /*Button*/, int Index)
{
    if (OnCustomButtonClick)
        OnCustomButtonClick(this, Index);
}
