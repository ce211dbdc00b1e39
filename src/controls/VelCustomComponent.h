#pragma once

#include <QObject>
#include <cstdint>

#include "VelTypes.h"

// Base of the library's non-visual components. Unlike TVelObject its bracket is counted, so
// components may lock each other's changes in nested helper code safely.
class TVelCustomComponent : public QObject {
public:
    explicit TVelCustomComponent(QObject* Owner = nullptr);

    QObject* Owner() const { return owner_; }

    virtual void Changed();
    void LockChanges();
    void UnlockChanges(bool Notify);
    bool ChangesLocked() const { return updateCount_ != 0; }

    TNotifyEvent OnChange;

private:
    QObject* owner_ = nullptr;
    std::uint16_t updateCount_ = 0;
};
