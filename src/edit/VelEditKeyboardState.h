#pragma once

#include <Qt>

// The modifier bits of the keyboard state all edits share. A key release that goes to another
// control never reaches the edit that saw the press, so the bits are also settled from the
// keyboard itself whenever an edit gains the focus and whenever the application becomes active.

// Stores Shift, Ctrl and Alt of Modifiers in the shared state (insert mode is kept).
void VelStoreModifiers(Qt::KeyboardModifiers Modifiers);
// Reads the modifiers held on the keyboard now and stores them.
void VelRefreshModifiers();
// Refreshes on every return of the application to the active state; installed once.
void VelWatchApplicationState();
