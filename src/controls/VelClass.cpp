#include "VelClass.h"

#include <utility>

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <unistd.h>

#include "VelMessageEvent.h"
#include "VelSystemMetrics.h"
#include "VelThemes.h"

namespace {

// A plain pointer, never a static object with a destructor: the object may be freed from Qt's post
// routines while statics are already being destroyed (a QApplication that is itself a static).
TVelApplication*& Instance()
{
    static TVelApplication* instance = nullptr;
    return instance;
}

bool IsForm(const QWidget* Widget)
{
    const Qt::WindowType type = Widget->windowType();
    return type == Qt::Window || type == Qt::Dialog;
}

void SendThemeChangedToDescendants(QWidget* Parent)
{
    for (QObject* child : Parent->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow())
            continue;
        if (widget->testAttribute(Qt::WA_WState_Created))
            VelSendMessage(widget, WM_THEMECHANGED);
        SendThemeChangedToDescendants(widget);
    }
}

} // namespace

TVelApplication::TVelApplication() : TVelApplication(TVelInstanceRecord::DefaultPath()) {}

TVelApplication::TVelApplication(const QString& InstanceRecordPath)
    : timerPool_(std::make_unique<TVelTimerPool>(kVelApplicationMinInterval, this)),
      checkBoxGlyph_(VelCheckBoxGlyphSize()), performanceFrequency_(VelQueryPerformanceFrequency())
{
    if (!InstanceRecordPath.isEmpty()) {
        // No window exists yet while the library starts; the record carries the process.
        TVelInstanceData own;
        own.Instance = static_cast<std::uint32_t>(::getpid());
        instanceRecord_.Open(InstanceRecordPath, own);
    }
}

TVelApplication::~TVelApplication()
{
    // The pool first: its items' callbacks point into shared timers that may still call back
    // into this object while they let go.
    timerPool_.reset();
}

void TVelApplication::SetKeyboardState(std::uint8_t State)
{
    if (State == keyboardState_)
        return;
    keyboardState_ = State;
    if (OnKeyboardStateChange)
        OnKeyboardStateChange(this);
}

bool TVelApplication::ThemesActive() const
{
    return themesEnabled_ && TVelThemeServices::PlatformThemesAvailable();
}

void TVelApplication::BroadcastThemeChange()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* form : windows) {
        if (!IsForm(form))
            continue;
        // A handler may close windows; a freed one is skipped rather than reached.
        const QPointer<QWidget> guard(form);
        VelSendMessage(form, CM_THEMEMODECHANGED);
        if (!guard || !form->isVisible())
            continue;
        for (QObject* child : form->children())
            if (auto* widget = qobject_cast<QWidget*>(child); widget && !widget->isWindow())
                VelSendMessage(widget, CM_THEMEMODECHANGED);
        SendThemeChangedToDescendants(form);
        if (guard)
            VelSendMessage(form, WM_THEMECHANGED);
    }
}

std::uint16_t TVelApplication::RegisterTimer(std::uint16_t Interval, TNotifyEvent Callback)
{
    for (int slot = 1; slot <= kVelTimerSlots; ++slot) {
        if (timerSlots_[static_cast<std::size_t>(slot - 1)])
            continue;
        const auto ident = static_cast<std::uint16_t>(kVelTimerIdentBase + slot);
        if (timerPool_->Add(ident, Interval, std::move(Callback)) < 0)
            return 0;
        timerSlots_[static_cast<std::size_t>(slot - 1)] = true;
        return ident;
    }
    return 0;
}

void TVelApplication::UnregisterTimer(std::uint16_t Ident)
{
    if (Ident <= kVelTimerIdentBase)
        return;
    timerPool_->Remove(Ident);
    const int slot = Ident - kVelTimerIdentBase;
    if (slot <= kVelTimerSlots)
        timerSlots_[static_cast<std::size_t>(slot - 1)] = false;
}

TVelTimerItem* TVelApplication::FindTimer(std::uint16_t Ident) const
{
    return timerPool_->Find(Ident);
}

int TVelApplication::TimerSlotsInUse() const
{
    int count = 0;
    for (const bool used : timerSlots_)
        count += used ? 1 : 0;
    return count;
}

const QImage& TVelApplication::PatternBitmap(QColor Color)
{
    if (!pattern_.isNull() && Color == patternColor_)
        return pattern_;
    if (pattern_.isNull()) {
        pattern_ = QImage(8, 8, QImage::Format_RGB32);
        pattern_.fill(Qt::white);
    }
    patternColor_ = Color;
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 8; ++j)
            if ((i % 2) != (j % 2))
                pattern_.setPixelColor(i, j, Color);
    return pattern_;
}

TVelApplication* VelApplication()
{
    TVelApplication*& instance = Instance();
    if (!instance) {
        instance = new TVelApplication();
        // Whoever forgets the finalisation still loses the object, its pool and its Qt timers
        // while Qt can take them down, not after it has gone.
        if (QCoreApplication::instance())
            qAddPostRoutine(VelFreeApplication);
    }
    return instance;
}

TVelApplication* VelApplicationIfExists()
{
    return Instance();
}

void VelFreeApplication()
{
    // Moved out first, so shared timers freed by the destructor no longer find the object.
    delete std::exchange(Instance(), nullptr);
}
