#pragma once

#include <cstdint>

#include "Messages.h"

class QObject;

// Window timers in the classic shape: a timer is keyed by its target and an identifier chosen by
// the caller, and each period the target's message procedure receives WM_TIMER with the
// identifier in wParam. The timer belongs to its target and dies with it.
enum : unsigned {
    USER_TIMER_MINIMUM = 10,
    USER_TIMER_MAXIMUM = 0x7FFFFFFF,
};

// Starts timer Id of Target, or restarts it with the new interval when it already runs. The
// interval is kept within USER_TIMER_MINIMUM..USER_TIMER_MAXIMUM, so 0 cannot spin the event
// loop. False only without a target.
bool VelSetTimer(QObject* Target, WPARAM Id, unsigned Interval);
// Stops and frees timer Id of Target; false when there is no such timer.
bool VelKillTimer(QObject* Target, WPARAM Id);
// Whether timer Id of Target runs, and its period in milliseconds (0 when it does not).
bool VelTimerExists(const QObject* Target, WPARAM Id);
unsigned VelTimerInterval(const QObject* Target, WPARAM Id);
