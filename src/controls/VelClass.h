#pragma once

#include <QColor>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <utility>

#include "VelInstanceRecord.h"
#include "VelTimer.h"
#include "VelTimerClock.h"
#include "VelTimerPool.h"
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

// Shared timers get identifiers 0xFD01..0xFDFA, one per slot.
constexpr std::uint16_t kVelTimerIdentBase = 0xFD00;
constexpr int kVelTimerSlots = 250;
// The period of the application object's pool, and so the step of every shared interval.
constexpr TVelTimerInterval kVelApplicationMinInterval = 50;

// The one process-wide object of the control library: what all library controls share.
class TVelApplication : public QObject {
    Q_OBJECT
public:
    // With the instance record named after the running program.
    TVelApplication();
    // With the instance record at that path; an empty path keeps none.
    explicit TVelApplication(const QString& InstanceRecordPath);
    ~TVelApplication() override;

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
    // Themes are enabled and the platform has visual themes of its own to draw with; this one has
    // none, so the library always draws its classic look in the palette's colours.
    bool ThemesActive() const;
    // Tells every window that the theme changed: CM_THEMEMODECHANGED to each top-level window,
    // and for a visible one also to its direct children, WM_THEMECHANGED to every created
    // descendant (depth first, in child order) and last to the window itself.
    void BroadcastThemeChange();

    // The shared pool and its identifier registry. RegisterTimer returns 0 when all slots are
    // taken; the pool's own errors pass through.
    TVelTimerPool* TimerPool() const { return timerPool_.get(); }
    std::uint16_t RegisterTimer(std::uint16_t Interval, TNotifyEvent Callback);
    void UnregisterTimer(std::uint16_t Ident);
    TVelTimerItem* FindTimer(std::uint16_t Ident) const;
    int TimerSlotsInUse() const;

    // The clock private library timers created from now on tick from; none means Qt's timers.
    // Returns the clock installed before.
    TVelTimerClock* TimerClock() const { return timerClock_; }
    TVelTimerClock* SetTimerClock(TVelTimerClock* Clock) { return std::exchange(timerClock_, Clock); }

    // One check-box glyph of the desktop's style.
    QSize CheckBoxGlyphSize() const { return checkBoxGlyph_; }
    // Counts per second of VelQueryPerformanceCounter, read once.
    std::int64_t PerformanceFrequency() const { return performanceFrequency_; }

    // Another copy of the program was running when this one started; its process id and the
    // window it recorded (0 for none).
    bool PreviousInstance() const { return instanceRecord_.PreviousInstance(); }
    std::uint32_t PreviousInstanceProcess() const { return instanceRecord_.Previous().Instance; }
    std::uint32_t PreviousInstanceWindow() const { return instanceRecord_.Previous().AppWindow; }

    // An 8 x 8 pattern: white where i and j are both even or both odd, Color elsewhere. Asking
    // again for the same colour returns the same image untouched.
    const QImage& PatternBitmap(QColor Color);

    TNotifyEvent OnKeyboardStateChange;

private:
    std::uint8_t keyboardState_ = ksInsertMode;
    bool themesEnabled_ = true;
    TVelThemeMode globalThemeMode_ = ttmPlatform;
    bool themedEditFill_ = true;
    std::unique_ptr<TVelTimerPool> timerPool_;
    std::array<bool, kVelTimerSlots> timerSlots_{};
    TVelTimerClock* timerClock_ = nullptr;
    QSize checkBoxGlyph_;
    std::int64_t performanceFrequency_;
    TVelInstanceRecord instanceRecord_;
    QImage pattern_;
    QColor patternColor_;
};

// The library's application object, created on first use and freed with the Qt application at
// the latest.
TVelApplication* VelApplication();
// The object if it exists, without creating one: for code that may run after the library ended.
TVelApplication* VelApplicationIfExists();
// Library finalisation: frees the object, its pool and every shared timer in it.
void VelFreeApplication();
