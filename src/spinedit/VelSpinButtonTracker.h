#pragma once

#include <QtGlobal>
#include <functional>
#include <optional>

#include "VelSpinButtonPainter.h"
#include "VelTimerClock.h"

// The states of a spin button's halves and its press-and-hold repeat, fed with the pointer's
// half, the mouse buttons and the ticks of the repeat timer it drives. A press steps once at once; holding steps again
// after Interval + 200 ms and then every Interval for the half that is pressed at each tick, so
// dragging into the other half reverses the steps. Nothing steps after the release or once the
// mouse capture is gone.
class TVelSpinButtonTracker {
public:
    explicit TVelSpinButtonTracker(TVelRepeatClock& Clock);
    ~TVelSpinButtonTracker();
    TVelSpinButtonTracker(const TVelSpinButtonTracker&) = delete;
    TVelSpinButtonTracker& operator=(const TVelSpinButtonTracker&) = delete;

    TVelSpinHalves Halves() const { return halves_; }
    void SetHalves(TVelSpinHalves Value) { halves_ = Value; }
    quint16 Interval() const { return interval_; }
    void SetInterval(quint16 Value) { interval_ = Value; }

    const TVelSpinStates& States() const { return states_; }
    TVelSpinState State(TVelSpinHalf Half) const { return states_[Half]; }
    bool Repeating() const { return repeating_; }
    bool HasCapture() const { return capture_; }

    // Fires with the half whose step is due; an exception from it stops the repeat and is passed on.
    std::function<void(TVelSpinHalf)> OnClick;

    // The hit rule for one half; reports whether its state changed.
    bool Hit(TVelSpinHalf Half, bool PointerInHalf, bool LeftDown);

    // Each returns whether the button needs repainting. Under is the half below the pointer.
    bool MouseMove(std::optional<TVelSpinHalf> Under, bool LeftDown);
    bool MouseDown(bool LeftButton, std::optional<TVelSpinHalf> Under);
    bool MouseUp(bool LeftButton, std::optional<TVelSpinHalf> Under, bool InsideControl);
    // The pointer went over the edit's text or left the edit.
    bool PointerReset() { return MouseMove(std::nullopt, false); }
    // The enable-state message: Which 0 follows the control's own Enabled, 1 sets the down halves
    // and 2 the up halves to State (0 normal .. 3 disabled; other values are ignored).
    bool EnabledChanged(int Which, int State, bool ControlEnabled);
    void SetControlEnabled(bool Value) { enabled_ = Value; }

    void Tick();
    void CaptureLost() { capture_ = false; }

private:
    void StopRepeat();

    TVelRepeatClock& clock_;
    TVelSpinHalves halves_ = SpinHalfBit(shUp);
    quint16 interval_ = 100;
    TVelSpinStates states_{ssNormal, ssNormal, ssNormal, ssNormal};
    bool enabled_ = true;
    bool capture_ = false;
    bool repeating_ = false;
};
