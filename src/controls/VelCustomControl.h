#pragma once

#include "VelControl.h"

// Adds what every windowed library control tracks: whether the pointer is over it, whether it
// holds the focus, and the events that run once a focus change has settled.
class TVelCustomControl : public TVelBaseCustomControl {
public:
    explicit TVelCustomControl(QWidget* parent = nullptr);

    bool MouseAbove() const { return mouseAbove_; }
    bool Entered() const { return entered_; }

    TNotifyEvent OnAfterEnter, OnAfterExit;

protected:
    void WndProc(TMessage& Message) override;
    void MouseEntered() override;
    void MouseLeft() override;
    void Paint(QPainter& Canvas) override;
    virtual void PaintBackground(QPainter& Canvas);

private:
    bool mouseAbove_ = false;
    bool entered_ = false;
};
