#include "VelSpinButtonTracker.h"

#include <vector>

TVelSpinButtonTracker::TVelSpinButtonTracker(TVelRepeatClock& Clock) : clock_(Clock) {}

TVelSpinButtonTracker::~TVelSpinButtonTracker()
{
    if (repeating_)
        clock_.Stop();
}

bool TVelSpinButtonTracker::Hit(TVelSpinHalf Half, bool PointerInHalf, bool LeftDown)
{
    TVelSpinState& state = states_[Half];
    TVelSpinState next;
    if (!enabled_ || state == ssDisabled)
        next = ssDisabled;
    else if (PointerInHalf)
        next = LeftDown ? ssPressed : ssHot;
    else
        next = ssNormal;
    const bool changed = next != state;
    state = next;
    return changed;
}

bool TVelSpinButtonTracker::MouseMove(std::optional<TVelSpinHalf> Under, bool LeftDown)
{
    // Every half is brought up to date, so that one move from one half into the other presses
    // the new half at once and the next repeat already steps the other way.
    bool changed = false;
    for (TVelSpinHalf half : kSpinHalfOrder)
        if (halves_ & SpinHalfBit(half))
            changed |= Hit(half, Under == half, LeftDown);
    return changed;
}

bool TVelSpinButtonTracker::MouseDown(bool LeftButton, std::optional<TVelSpinHalf> Under)
{
    if (!LeftButton || !enabled_)
        return false;
    capture_ = true;
    std::vector<TVelSpinHalf> pressed;
    for (TVelSpinHalf half : kSpinHalfOrder)
        if ((halves_ & SpinHalfBit(half)) && Hit(half, Under == half, true) && states_[half] == ssPressed)
            pressed.push_back(half);
    // The press is the first step; only a half that became pressed steps, not one that merely
    // lost its hot look.
    for (TVelSpinHalf half : pressed)
        if (OnClick)
            OnClick(half);
    clock_.Start(interval_ + 200);
    repeating_ = true;
    return true;
}

bool TVelSpinButtonTracker::MouseUp(bool LeftButton, std::optional<TVelSpinHalf> Under, bool InsideControl)
{
    if (!LeftButton)
        return false;
    capture_ = false;
    StopRepeat();
    // Released outside, no further move reaches the button, so nothing may stay drawn pressed.
    MouseMove(InsideControl ? Under : std::nullopt, false);
    return true;
}

bool TVelSpinButtonTracker::EnabledChanged(int Which, int State, bool ControlEnabled)
{
    enabled_ = ControlEnabled;
    if (Which == 0) {
        states_.fill(ControlEnabled ? ssNormal : ssDisabled);
        return true;
    }
    if (State < ssNormal || State > ssDisabled || (Which != 1 && Which != 2))
        return false;
    const auto state = TVelSpinState(State);
    if (Which == 1)
        states_[shDown] = states_[shDownHorz] = state;
    else
        states_[shUp] = states_[shUpHorz] = state;
    return true;
}

void TVelSpinButtonTracker::Tick()
{
    if (!repeating_)
        return;
    clock_.SetInterval(interval_);
    if (!capture_)
        return;
    try {
        for (TVelSpinHalf half : kSpinHalfOrder)
            if ((halves_ & SpinHalfBit(half)) && states_[half] == ssPressed && OnClick)
                OnClick(half);
    } catch (...) {
        StopRepeat();
        throw;
    }
}

void TVelSpinButtonTracker::StopRepeat()
{
    if (!repeating_)
        return;
    repeating_ = false;
    clock_.Stop();
}
