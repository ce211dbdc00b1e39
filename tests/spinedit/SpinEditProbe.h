#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

#include "VelCustomExtSpinEdit.h"
#include "VelCustomMaskEdit.h"

// Records the events of one edit as text, so that a whole sequence is compared at once.
class EventLog {
public:
    explicit EventLog(TVelCustomExtSpinEdit& Edit)
    {
        Edit.OnValueChanging = [this](QObject*, double& v, bool&) { log_ << QStringLiteral("changing %1").arg(v); };
        Edit.OnValueChanged = [this](QObject*, double o, double n) {
            log_ << QStringLiteral("changed %1 -> %2").arg(o).arg(n);
        };
        Edit.OnTextChangedAt = [this](QObject*, int at) { log_ << QStringLiteral("textchangedat %1").arg(at); };
        Edit.OnChange = [this](QObject*) { log_ << QStringLiteral("change"); };
        Edit.OnValidationError = [this](QObject*) { log_ << QStringLiteral("validationerror"); };
    }

    QStringList Take() { return std::exchange(log_, {}); }
    int Count(const QString& Event) const { return int(log_.count(Event)); }

private:
    QStringList log_;
};

// Message boxes go to a list for the lifetime of a test instead of waiting for a click.
class MessageBoxCatcher {
public:
    MessageBoxCatcher() : previous_(SetVelMessageBoxHook([this](const QString& Text) { Shown.push_back(Text); })) {}
    ~MessageBoxCatcher() { SetVelMessageBoxHook(previous_); }
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

    std::vector<QString> Shown;

private:
    TVelMessageBoxHook previous_;
};

// A half-state recorder standing in for the spin button.
class HalvesProbe final : public IVelSpinButtonHalves {
public:
    void SetHalfState(int Halves, int State) override
    {
        Calls << QStringLiteral("%1:%2")
                     .arg(Halves == shUp ? "up" : "down")
                     .arg(State == ssNormal ? "normal" : "disabled");
    }
    QStringList Calls;
};
