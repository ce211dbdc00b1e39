#pragma once

#include <QCursor>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "Messages.h"
#include "VelTypes.h"

class QPainter;
class TVelBaseControl;

// Client coordinates travel in lParam as two signed 16-bit halves, x low and y high.
LPARAM PointToLParam(QPoint Point);
QPoint PointFromLParam(LPARAM LParam);

// The virtual-key code for a Qt key, 0 when the key has none.
std::uint16_t VirtualKeyFromQtKey(int Key, Qt::KeyboardModifiers Modifiers);

// The base of every windowed library control. Qt events are turned into platform messages here,
// in one place, and every message, translated or sent with Perform, runs through WndProc.
// Keyboard, mouse and wheel messages reaching a disabled control do nothing.
//
// The widget stands for the whole window. A descendant may give it a window frame (the bevel
// panel's client edge); ClientRect is then the part inside that frame, in widget coordinates, and
// Paint and the graphic children draw clipped to it.
class TVelBaseCustomControl : public QWidget {
    Q_OBJECT

public:
    explicit TVelBaseCustomControl(QWidget* parent = nullptr);
    ~TVelBaseCustomControl() override;

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

    // The wide hint text; it is also the widget's tool tip.
    const QString& Hint() const { return hint_; }
    void SetHint(const QString& Value);

    // The client area: the widget less its window frame.
    virtual QRect ClientRect() const;
    int WindowFrameWidth() const { return frameWidth_; }
    // Where a window would be destroyed and created anew to change its styles: the frame is
    // applied again from the current settings and the control repaints. Nothing is lost, since
    // all state lives in the object.
    virtual void RecreateWnd();

    // Windowless children, painted on this control in insertion order (later ones on top) and
    // given the mouse messages that fall on them.
    const std::vector<TVelBaseControl*>& GraphicControls() const { return graphicControls_; }
    TVelBaseControl* GraphicCapture() const { return graphicCapture_; }
    TVelBaseControl* GraphicUnderMouse() const { return graphicHot_; }
    // The topmost visible graphic child whose shape contains Pos (client coordinates), if any.
    TVelBaseControl* GraphicControlAt(QPoint Pos) const;

    TNotifyEvent OnMouseEnter, OnMouseExit;
    TNotifyEvent OnEnter, OnExit;
    std::function<void(QObject*Sender, std::uint16_t&Key, Qt::KeyboardModifiers Shift)> OnKeyDown, OnKeyUp;
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

    // The window frame, outside the client area: none in the base. Descendants that draw one
    // set its width with SetWindowFrameWidth.
    virtual void PaintWindowFrame(QPainter& Canvas);
    void SetWindowFrameWidth(int Width);
    // Drawn over the whole widget after the client area; the flat look lives here.
    virtual void PaintFrameStep(QPainter& Canvas);

    bool event(QEvent* Event) override;

private:
    friend class TVelBaseControl;
    void InsertGraphicControl(TVelBaseControl* Control);
    void RemoveGraphicControl(TVelBaseControl* Control);
    void PaintGraphicControls(QPainter& Canvas, const QRegion& Dirty);
    // Mouse messages for a graphic child; true when one took the message.
    bool RouteToGraphicControl(unsigned Msg, WPARAM Keys, QPoint Pos, Qt::MouseButtons Buttons);
    void SetGraphicHot(TVelBaseControl* Control);
    // The window has no pointer shape per area: over a graphic child with a shape of its own the
    // window takes that shape, and gets its own back when the pointer leaves the child.
    void ShowGraphicCursor(const TVelBaseControl* Control);
    void PaintEvent(const QRegion& Dirty);

    bool TranslateKey(QEvent* Event);
    bool TranslateMouse(QEvent* Event);
    bool TranslateWheel(QEvent* Event);

    QString hint_;
    int frameWidth_ = 0;
    std::vector<TVelBaseControl*> graphicControls_;
    TVelBaseControl* graphicCapture_ = nullptr;
    TVelBaseControl* graphicHot_ = nullptr;
    bool windowCapture_ = false;
    bool graphicCursorShown_ = false;
    std::optional<QCursor> ownCursor_;

    std::uint16_t updateCount_ = 0;
    bool repaintOnChange_ = true;
    bool loading_ = false;
    bool translatingKey_ = false;
    Qt::KeyboardModifiers keyModifiers_;
    Qt::FocusReason lastFocusReason_ = Qt::OtherFocusReason;
    int wheelDelta_ = 0;
};
