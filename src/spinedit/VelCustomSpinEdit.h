#pragma once

#include "VelCustomExtSpinEdit.h"

// The spin edit held in ntInteger, with bounds, steps and value seen as integers.
//
// The integer accessors hide the Double ones of the same names: MinValue(), MaxValue() and
// Value() return int here, and SetMinValue, SetMaxValue and SetValue take int. The Double
// surface stays reachable through a TVelCustomExtSpinEdit reference or the indexed setters.
// Reading Value() runs the integer reader on the current text, not the stored Double, so it
// follows the user's typing.
class TVelCustomSpinEdit : public TVelCustomExtSpinEdit {
    Q_OBJECT

public:
    explicit TVelCustomSpinEdit(QWidget* parent = nullptr);

    // Index 0 LineSize, 1 PageSize, 2 MinValue, 3 MaxValue, 4 Value; others read 0 and are ignored.
    int IntProp(int Index) const;
    void SetIntProp(int Index, int Value);

    int LineSize() const { return IntProp(0); }
    void SetLineSize(int Value) { SetIntProp(0, Value); }
    int PageSize() const { return IntProp(1); }
    void SetPageSize(int Value) { SetIntProp(1, Value); }
    int MinValue() const { return IntProp(2); }
    void SetMinValue(int Value) { SetIntProp(2, Value); }
    int MaxValue() const { return IntProp(3); }
    void SetMaxValue(int Value) { SetIntProp(3, Value); }
    int Value() const { return IntProp(4); }
    void SetValue(int Value) { SetIntProp(4, Value); }

    // An older form of this control stored its border as "BorderStyle"; a description that still
    // holds it is read through here. "bsSingle" is the Windows border, anything else none. The
    // property is never written back.
    void ReadBorderStyle(const QString& Identifier);

    bool PropertyStored(const QString& Name) const override;

private:
    // The integer edit stays an integer edit.
    using TVelCustomExtSpinEdit::SetEditType;
};
