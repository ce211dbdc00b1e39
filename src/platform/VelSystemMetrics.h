#pragma once

#include <QSize>
#include <cstdint>

// Desktop settings the library reads the classic way, answered from the running desktop's Qt
// style hints and style, so the controls follow what the user set for every other program.

// Longest time between the clicks of a double click, in milliseconds.
unsigned VelGetDoubleClickTime();

enum : int {
    SM_CXBORDER = 5,
    SM_CYBORDER = 6,
    SM_CXDOUBLECLK = 36,
    SM_CYDOUBLECLK = 37,
    SM_CXEDGE = 45,
    SM_CYEDGE = 46,
    SM_CXDRAG = 68,
    SM_CYDRAG = 69,
};

// The metric of that index; 0 for an index it does not know. The double-click and drag values are
// the width and height of the rectangle around the first click within which the second one still
// counts, like the classic ones (twice the desktop's allowed distance).
int VelGetSystemMetrics(int Index);

// Size of one check-box glyph (one cell of the classic 4 x 3 check-box bitmap strip).
QSize VelCheckBoxGlyphSize();

// A monotonic high-resolution counter and its constant frequency in counts per second. The counter
// counts nanoseconds, so the frequency is 1 000 000 000 wherever the program runs.
std::int64_t VelQueryPerformanceCounter();
std::int64_t VelQueryPerformanceFrequency();
