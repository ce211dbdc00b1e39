#pragma once

#include <QFont>
#include <QImage>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "VelButtonLayout.h"
#include "VelClass.h"
#include "VelSpeedButton.h"

class TVelCustomEdit;
class TVelSpecialButtons;
class TVelSpecialButton;

using TVelOnCustomBtnClick = std::function<void(QObject* Sender, int Index)>;

// One button of an edit's strip: the settings as stored, and the speed button they are applied
// to. The button exists from the moment the item does and goes with it.
class TVelSpecialButton : public QObject {
    Q_OBJECT

public:
    explicit TVelSpecialButton(TVelSpecialButtons* Collection);
    ~TVelSpecialButton() override;

    TVelSpecialButtons* Collection() const { return collection_; }
    int Index() const;
    TVelSpeedButton* Button() const { return button_.get(); }

    const QString& Caption() const { return button_->Caption(); }
    void SetCaption(const QString& Value);
    const QString& Hint() const { return button_->Hint(); }
    void SetHint(const QString& Value);
    const QImage& Glyph() const { return glyph_; }
    void SetGlyph(const QImage& Value);
    int ImageIndex() const { return button_->ImageIndex(); }
    void SetImageIndex(int Value) { button_->SetImageIndex(Value); }
    int ListIndex() const { return button_->ListIndex(); }
    void SetListIndex(int Value) { button_->SetListIndex(Value); }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    Qt::CursorShape Cursor() const { return button_->Cursor().value_or(Qt::ArrowCursor); }
    void SetCursor(Qt::CursorShape Value) { button_->SetCursor(Value); }
    int GroupIndex() const { return button_->GroupIndex(); }
    void SetGroupIndex(int Value);
    bool AllowAllUp() const { return button_->AllowAllUp(); }
    void SetAllowAllUp(bool Value);
    TVelButtonLayout* Layout() const { return layout_.get(); }
    void SetLayout(const TVelButtonLayout* Value) { layout_->Assign(Value); }
    // The edit's font until one of the item's own is set.
    QFont Font() const;
    void SetFont(const QFont& Value);
    bool ParentFont() const { return !font_.has_value(); }
    void SetParentFont(bool Value);
    TVelThemeMode ThemeMode() const { return themeMode_; }
    void SetThemeMode(TVelThemeMode Value);
    // Old form resources store "CtlXP": true means the platform theme, false none.
    void SetCtlXP(bool Value) { SetThemeMode(Value ? ttmPlatform : ttmNone); }

    // Copies the settings of another item (not its button's state).
    void Assign(const TVelSpecialButton& Source);

    TVelOnCustomBtnClick OnClick;

private:
    // Glyph, layout and font go to the button together, as one change of its face.
    void ApplyFace();
    void Changed();
    void Clicked();

    TVelSpecialButtons* collection_;
    std::unique_ptr<TVelSpeedButton> button_;
    std::unique_ptr<TVelButtonLayout> layout_;
    QImage glyph_;
    std::optional<QFont> font_;
    TVelThemeMode themeMode_ = ttmNone;
    bool enabled_ = true; // the item's own setting; the button is also disabled with its edit
};

// The strip's items in order. The edit's own collection lays the strip out again after every
// change; a free-standing one (a copy being prepared) only reports its changes.
class TVelSpecialButtons : public QObject {
    Q_OBJECT

public:
    // Edit: the edit whose buttons these are, or nullptr for a collection of settings only.
    explicit TVelSpecialButtons(TVelCustomEdit* Edit = nullptr);
    ~TVelSpecialButtons() override;

    TVelCustomEdit* Edit() const { return edit_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TVelSpecialButton* Items(int Index) const;
    int IndexOf(const TVelSpecialButton* Item) const;

    TVelSpecialButton* Add();
    // Indices outside the collection are ignored.
    void Delete(int Index);
    void Clear();
    // Makes this collection a copy of Source: as many items, each assigned from its counterpart.
    void Assign(const TVelSpecialButtons& Source);

    // Groups a run of changes into one relayout at the end.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();

    std::function<void(QObject* Sender, TVelSpecialButton* Item)> OnItemChanged;

private:
    friend class TVelSpecialButton;
    void ItemChanged(TVelSpecialButton* Item);
    void Renumber();

    TVelCustomEdit* edit_;
    std::vector<std::unique_ptr<TVelSpecialButton>> items_;
    int updateCount_ = 0;
    bool pendingChange_ = false;
};
