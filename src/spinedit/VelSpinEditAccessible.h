#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>

#include "VelEditAccessible.h"

class TVelCustomExtSpinEdit;

// What a screen reader sees of a number edit: a spin box with the edit's text and caret, its
// value between MinValue and MaxValue in steps of Step, and actions that step it up and down
// the way the arrow keys do. Like Qt's spin boxes, the actions name no key: a screen reader reads
// an action's key as the control's shortcut.
// The actions come through the widget interface's own QAccessibleActionInterface.
class TVelSpinEditAccessible : public TVelEditAccessible, public QAccessibleValueInterface {
public:
    explicit TVelSpinEditAccessible(TVelCustomExtSpinEdit* Edit);

    TVelCustomExtSpinEdit* SpinEdit() const;

    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType T) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& Value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

    QStringList actionNames() const override;
    void doAction(const QString& ActionName) override;
};
