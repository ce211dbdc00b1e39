#pragma once

#include <QPoint>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "Messages.h"
#include "VelTypes.h"

class QPainter;

// Client coordinates travel in lParam as two signed 16-bit halves, x low and y high.
LPARAM PointToLParam(QPoint Point);
QPoint PointFromLParam(LPARAM LParam);

// The virtual-key code for a Qt key, 0 when the key has none.
std::uint16_t VirtualKeyFromQtKey(int Key, Qt::KeyboardModifiers Modifiers);

// The base of every windowed library control. Qt events are turned into platform messages here,
// in one place, and every message, translated or sent with Perform, runs through WndProc.
class TVelBaseCustomControl : public QWidget {
public:
    explicit TVelBaseCustomControl(QWidget* parent = nullptr);

    LRESULT Perform(unsigned Msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // Delivers the message later through the Qt event queue, after the current handler returns.
    void PostMessage(unsigned Msg, WPARAM wParam = 0, LPARAM lParam = 0);

    // Paint suppression for compound changes; reaching 0 with Notify repaints once.
    void LockUpdates();
    virtual void UnlockUpdates(bool Notify);
    bool UpdatesLocked() const { return updateCount_ != 0; }

    // The handler owned setting objects get as their OnChange.
    virtual void SubObjectChanged(QObject* Sender);
    bool RepaintOnChange() const { return repaintOnChange_; }
    void SetRepaintOnChange(bool Value) { repaintOnChange_ = Value; }

    // Windows are built inside a loading bracket: no change event fires while properties are
    // assigned, and Loaded runs once everything is in place.
    bool IsLoading() const { return loading_; }
    void BeginLoading() { loading_ = true; }
    virtual void Loaded();

    // Why the control last received the focus, so focus handling can tell a click from Tab.
    Qt::FocusReason LastFocusReason() const { return lastFocusReason_; }

    TNotifyEvent OnMouseEnter, OnMouseExit;
    TNotifyEvent OnEnter, OnExit;
    std::function<void(QObject* Sender, std::uint16_t& Key, Qt::KeyboardModifiers Shift)> OnKeyDown, OnKeyUp;
    std::function<void(QObject* Sender, QChar& Key)> OnKeyPress;

protected:
    virtual void WndProc(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);

    virtual void KeyDown(std::uint16_t& Key, Qt::KeyboardModifiers Shift);
    virtual void KeyUp(std::uint16_t& Key, Qt::KeyboardModifiers Shift);
    virtual void KeyPress(QChar& Key);
    virtual void DoEnter();
    virtual void DoExit();
    virtual void MouseEntered();
    virtual void MouseLeft();
    // One call per wheel notch; true when the control used the step.
    virtual bool DoMouseWheelUp();
    virtual bool DoMouseWheelDown();
    virtual void Paint(QPainter& Canvas);

    // The modifiers of the key message being handled: those of the Qt event being translated,
    // else the toolkit's current ones (for messages sent with Perform).
    Qt::KeyboardModifiers KeyMessageModifiers() const;

    bool event(QEvent* Event) override;

private:
    bool TranslateKey(QEvent* Event);
    bool TranslateMouse(QEvent* Event);
    bool TranslateWheel(QEvent* Event);

    std::uint16_t updateCount_ = 0;
    bool repaintOnChange_ = true;
    bool loading_ = false;
    bool translatingKey_ = false;
    Qt::KeyboardModifiers keyModifiers_;
    Qt::FocusReason lastFocusReason_ = Qt::OtherFocusReason;
    int wheelDelta_ = 0;
};
