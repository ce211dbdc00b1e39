#include "VelSpinEditAccessible.h"

#include <limits>

#include "VelCustomExtSpinEdit.h"

TVelSpinEditAccessible::TVelSpinEditAccessible(TVelCustomExtSpinEdit* Edit)
    : TVelEditAccessible(Edit, QAccessible::SpinBox)
{
}

TVelCustomExtSpinEdit* TVelSpinEditAccessible::SpinEdit() const
{
    return static_cast<TVelCustomExtSpinEdit*>(widget());
}

QAccessible::State TVelSpinEditAccessible::state() const
{
    QAccessible::State s = TVelEditAccessible::state();
    // A hidden input (the calculated quantity's) must not be read out as one to fill in.
    if (!widget()->isVisible())
        s.invisible = true;
    return s;
}

void* TVelSpinEditAccessible::interface_cast(QAccessible::InterfaceType T)
{
    if (T == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return TVelEditAccessible::interface_cast(T);
}

QVariant TVelSpinEditAccessible::currentValue() const
{
    return SpinEdit()->Value();
}

void TVelSpinEditAccessible::setCurrentValue(const QVariant& Value)
{
    bool ok = false;
    const double v = Value.toDouble(&ok);
    if (ok && !SpinEdit()->ReadOnly())
        SpinEdit()->SetValue(v);
}

QVariant TVelSpinEditAccessible::maximumValue() const
{
    if (SpinEdit()->InfiniteMax())
        return std::numeric_limits<double>::max();
    return SpinEdit()->MaxValue();
}

QVariant TVelSpinEditAccessible::minimumValue() const
{
    if (SpinEdit()->InfiniteMin())
        return std::numeric_limits<double>::lowest();
    return SpinEdit()->MinValue();
}

QVariant TVelSpinEditAccessible::minimumStepSize() const
{
    return SpinEdit()->Step();
}

QStringList TVelSpinEditAccessible::actionNames() const
{
    return QStringList{increaseAction(), decreaseAction()} + TVelEditAccessible::actionNames();
}

void TVelSpinEditAccessible::doAction(const QString& ActionName)
{
    TVelCustomExtSpinEdit* e = SpinEdit();
    if (ActionName == increaseAction()) {
        if (e->isEnabled())
            e->StepUp(e->Step());
    } else if (ActionName == decreaseAction()) {
        if (e->isEnabled())
            e->StepDown(e->Step());
    } else {
        TVelEditAccessible::doAction(ActionName);
    }
}
