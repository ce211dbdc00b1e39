#pragma once

#include <QPoint>
#include <memory>
#include <optional>

#include "VelGraphicControl.h"
#include "VelSpinButtonPainter.h"
#include "VelSpinButtonTracker.h"

class TVelTimer;

// The small two-halved button at the right end of a spin edit. It has no window: the edit paints
// it and routes the mouse to it. Geometry and drawing live in the painter, the half states and
// the press-and-hold repeat in the tracker; this class feeds them the routed messages and backs
// the repeat with a library timer.
class TVelSpinButton : public TVelGraphicControl {
    Q_OBJECT

public:
    explicit TVelSpinButton(QObject* Owner = nullptr);
    ~TVelSpinButton() override;

    TVelSpinHalves Halves() const { return painter_.Halves; }
    void SetHalves(TVelSpinHalves Value);
    quint8 DrawingStyle() const { return painter_.DrawingStyle; }
    void SetDrawingStyle(quint8 Value);
    bool Diagonal() const { return painter_.Diagonal; }
    void SetDiagonal(bool Value);
    quint16 Interval() const { return tracker_.Interval(); }
    void SetInterval(quint16 Value) { tracker_.SetInterval(Value); }
    TColor Color() const { return painter_.Color; }
    void SetColor(TColor Value);
    TColor HotColor() const { return painter_.HotColor; }
    void SetHotColor(TColor Value) { painter_.HotColor = Value; }
    TVelBorderStyle BorderStyle() const { return borderStyle_; }

    TVelSpinState State(TVelSpinHalf Half) const { return tracker_.State(Half); }
    bool Repeating() const { return tracker_.Repeating(); }
    bool DiagonalMode() const;
    // The half under a point in the control's own coordinates.
    std::optional<TVelSpinHalf> HalfAt(QPoint Pos) const;

    // Every half that is not disabled goes back to normal: the pointer went over the edit's text
    // or left the edit.
    void PointerReset();

    void Paint(QPainter& Canvas) override;

    TNotifyEvent OnUpClick, OnDownClick, OnUpHorzClick, OnDownHorzClick;

protected:
    void WndProc(TMessage& Message) override;
    void MouseDown(Qt::MouseButton Button, unsigned Keys, QPoint Pos) override;
    void MouseMove(unsigned Keys, QPoint Pos) override;
    void MouseUp(Qt::MouseButton Button, unsigned Keys, QPoint Pos) override;
    void DblClick(unsigned Keys, QPoint Pos) override;
    void MouseLeft() override;

private:
    class TTimerClock;
    void SyncPainter() const;
    void Click(TVelSpinHalf Half);
    void RepeatTick();

    mutable TVelSpinButtonPainter painter_;
    std::unique_ptr<TTimerClock> clock_;
    TVelSpinButtonTracker tracker_;
    TVelBorderStyle borderStyle_ = lsSingleRaised;
};
