#include "VelCustomSpinEdit.h"

#include <cmath>
#include <limits>

namespace {

// Truncation toward zero that stays defined for Doubles no int can hold.
int TruncToInt(double X)
{
    if (std::isnan(X))
        return 0;
    const double t = std::trunc(X);
    if (t >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (t <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(t);
}

} // namespace

TVelCustomSpinEdit::TVelCustomSpinEdit(QWidget* parent) : TVelCustomExtSpinEdit(parent)
{
    LockUpdates();
    SetAutoSize(true);
    SetAutoSelect(true);
    UnlockUpdates(false);
}

int TVelCustomSpinEdit::IntProp(int Index) const
{
    switch (Index) {
    case 0: return TruncToInt(Step());
    case 1: return TruncToInt(LargeStep());
    case 2: return TruncToInt(TVelCustomExtSpinEdit::MinValue());
    case 3: return TruncToInt(TVelCustomExtSpinEdit::MaxValue());
    case 4: return AsInteger();
    default: return 0;
    }
}

void TVelCustomSpinEdit::SetIntProp(int Index, int Value)
{
    switch (Index) {
    case 0: SetStep(Value); break;
    case 1: SetLargeStep(Value); break;
    case 2: SetBoundIdx(1, Value); break;
    case 3: SetBoundIdx(2, Value); break;
    case 4: SetValueIdx(2, Value); break;
    default: break;
    }
}

void TVelCustomSpinEdit::ReadBorderStyle(const QString& Identifier)
{
    TVelBevel* bevel = Bevel();
    bevel->LockChanges();
    if (Identifier == u"bsSingle") {
        bevel->SetMode(bmWindows);
    } else {
        bevel->SetStandardStyle(lsNone);
        bevel->SetMode(bmStandard);
    }
    bevel->UnlockChanges(true);
}

bool TVelCustomSpinEdit::PropertyStored(const QString& Name) const
{
    if (Name == u"BorderStyle" || Name == u"EditType")
        return false;
    if (Name == u"LineSize")
        return LineSize() != 1;
    if (Name == u"PageSize")
        return PageSize() != 10;
    // Published with default False and switched on by the constructor.
    if (Name == u"AutoSelect")
        return AutoSelect();
    if (Name == u"AutoSize")
        return !AutoSize();
    return TVelCustomExtSpinEdit::PropertyStored(Name);
}
