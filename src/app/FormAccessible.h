#pragma once

// What a screen reader sees of the calculator's main window: a frame named after the window, the
// three result lines in one group named "Results" (the caption above them), and inputs whose
// description is the current result, so that "where am I" on an input tells it.
//
// Installs the factory once; the window calls it before it creates its controls, because Qt keeps
// the first interface made for a widget.
void InstallFormAccessibility();
