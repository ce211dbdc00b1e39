#pragma once

#include <QString>

class TVelBaseEdit;

// Tells a screen reader what an edit's changes did, and nothing more. A change (one
// ReplaceSelection, SetText or Undo, or several made one by an enclosing change) is told once,
// when the outermost one ends: the one span by which the text after it differs from the text
// before, as a removal and an insertion, then the selection and the caret where they ended. So a
// reader that applies the events to its copy of the text always ends with the edit's text,
// whatever happened in between: a number edit's reformat, a refused character that left the text
// as it was, a caret that went to the start and back.
//
// Nothing is kept or compared while nobody listens: a keystroke then costs a counter and one test.
class TVelEditAnnouncer {
public:
    explicit TVelEditAnnouncer(TVelBaseEdit& Edit) : edit_(Edit) {}
    TVelEditAnnouncer(const TVelEditAnnouncer&) = delete;
    TVelEditAnnouncer& operator=(const TVelEditAnnouncer&) = delete;

    void BeginChange();
    void EndChange();
    // The caret or the selection moved; told at once outside a change.
    void CaretMoved();

    // Qt announces a widget's focus only after the widget has handled it. Caret and selection
    // moves the focus itself causes (AutoSelect, caret placement) wait until then, or a screen
    // reader hears them first and takes the focus announcement for old news.
    void BeginFocus();
    void EndFocus();

private:
    // True when the text differed.
    bool TellText();
    void TellCaret(bool Always);
    void TellHeldCaret();
    QString Shown(const QString& S) const;

    TVelBaseEdit& edit_;
    int depth_ = 0;
    // Someone listened when the outermost change began, and this was the text then.
    bool heard_ = false;
    QString before_;
    bool holdingForFocus_ = false;
    bool caretPending_ = false;
    // Caret and selection as last told, counted from 0; an empty selection is told as none.
    int caret_ = -1;
    int selStart_ = -1;
    int selEnd_ = -1;
};
