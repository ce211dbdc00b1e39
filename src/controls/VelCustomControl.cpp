#include "VelCustomControl.h"

#include <QPainter>

TVelCustomControl::TVelCustomControl(QWidget* parent)
    : TVelBaseCustomControl(parent)
{
    // Setting the defaults must not paint anything yet.
    LockUpdates();
    resize(100, 40);
    setFocusPolicy(Qt::NoFocus);
    setBackgroundRole(QPalette::Button);
    UnlockUpdates(false);
}

void TVelCustomControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SETFOCUS:
        TVelBaseCustomControl::WndProc(Message);
        entered_ = true;
        PostMessage(CM_AFTERENTER);
        break;
    case WM_KILLFOCUS:
        entered_ = false;
        TVelBaseCustomControl::WndProc(Message);
        PostMessage(CM_AFTEREXIT);
        break;
    case CM_AFTERENTER:
        if (OnAfterEnter)
            OnAfterEnter(this);
        break;
    case CM_AFTEREXIT:
        if (OnAfterExit)
            OnAfterExit(this);
        break;
    case WM_SIZE:
    case CM_ENABLEDCHANGED:
        update();
        break;
    default:
        TVelBaseCustomControl::WndProc(Message);
        break;
    }
}

void TVelCustomControl::MouseEntered()
{
    TVelBaseCustomControl::MouseEntered();
    mouseAbove_ = true;
}

void TVelCustomControl::MouseLeft()
{
    mouseAbove_ = false;
    TVelBaseCustomControl::MouseLeft();
}

void TVelCustomControl::Paint(QPainter& Canvas)
{
    if (IsLoading())
        return;
    PaintBackground(Canvas);
}

void TVelCustomControl::PaintBackground(QPainter& Canvas)
{
    Canvas.fillRect(rect(), palette().color(backgroundRole()));
}
