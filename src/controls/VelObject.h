#pragma once

#include <QObject>

#include "VelTypes.h"

// A group of settings owned by a control or component. Every property setter ends in Changed(),
// so the owner, which wires OnChange to its own handler, hears about each effective change once.
class TVelObject : public QObject {
public:
    explicit TVelObject(QObject* Owner = nullptr);

    // Not the QObject parent: the owner frees its setting objects itself, after clearing OnChange.
    QObject* Owner() const { return owner_; }

    // Only a flag: nested brackets end at the first UnlockChanges.
    bool Updating() const { return updating_; }

    virtual void Changed();
    // The OnChange handler for setting objects nested inside this one, so a change deep down
    // reaches the owning control as one notification of the outer object.
    void SubChanged(QObject* Sender);

    void LockChanges();
    void UnlockChanges(bool Notify);

    TNotifyEvent OnChange;

protected:
    // The body of every plain setter: assigning what is already held does nothing and fires nothing.
    template <typename T, typename V> void Store(T& Field, const V& Value)
    {
        if (Field == Value)
            return;
        Field = Value;
        Changed();
    }

private:
    QObject* owner_ = nullptr;
    bool updating_ = false;
};
