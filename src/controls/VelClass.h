#pragma once

#include <QObject>
#include <cstdint>

#include "VelTypes.h"

// How a control asks to be drawn: not themed, through the desktop's style, or natively.
enum TVelThemeMode { ttmNone, ttmPlatform, ttmNative };

// Bits of the keyboard state that every edit of the process shares.
enum : std::uint8_t {
    ksInsertMode = 1,
    ksShift = 2,
    ksCtrl = 4,
    ksAlt = 8,
    ksShiftState = ksShift | ksCtrl | ksAlt,
};

// The one process-wide object of the control library: what all library controls share.
class TVelApplication : public QObject {
public:
    TVelApplication();

    // Insert mode and the modifier keys are shared so that a Shift pressed while one edit had the
    // focus still extends the selection of the next one, and insert mode is one setting for all.
    std::uint8_t KeyboardState() const { return keyboardState_; }
    void SetKeyboardState(std::uint8_t State);
    bool InsertMode() const { return (keyboardState_ & ksInsertMode) != 0; }
    std::uint8_t ShiftState() const { return keyboardState_ & ksShiftState; }

    bool ThemesEnabled() const { return themesEnabled_; }
    void SetThemesEnabled(bool Value) { themesEnabled_ = Value; }
    TVelThemeMode GlobalThemeMode() const { return globalThemeMode_; }
    void SetGlobalThemeMode(TVelThemeMode Value) { globalThemeMode_ = Value; }
    // Whether themed edits fill their text area with their colour after drawing the themed frame.
    bool ThemedEditFill() const { return themedEditFill_; }
    void SetThemedEditFill(bool Value) { themedEditFill_ = Value; }

    TNotifyEvent OnKeyboardStateChange;

private:
    std::uint8_t keyboardState_ = ksInsertMode;
    bool themesEnabled_ = true;
    TVelThemeMode globalThemeMode_ = ttmPlatform;
    bool themedEditFill_ = true;
};

// Created on first use and kept until the program ends.
TVelApplication* VelApplication();
