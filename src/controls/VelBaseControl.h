#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <optional>

#include "Messages.h"
#include "VelTypes.h"

class QPainter;
class TVelBaseCustomControl;

// The base of the windowless library controls. Such a control has no widget of its own: its
// parent paints it (Paint gets a canvas whose origin is the control's top-left corner, clipped
// to its bounds) and hands it the mouse messages that fall on it, in the control's own
// coordinates. The parent also tracks which graphic child holds the mouse capture.
class TVelBaseControl : public QObject {
    Q_OBJECT

public:
    explicit TVelBaseControl(QObject* Owner = nullptr);
    ~TVelBaseControl() override;

    TVelBaseCustomControl* Parent() const;
    // Moves the control onto another parent (nullptr: none); the old and new area repaint.
    void SetParent(TVelBaseCustomControl* Value);

    int Left() const { return bounds_.left(); }
    int Top() const { return bounds_.top(); }
    int Width() const { return bounds_.width(); }
    int Height() const { return bounds_.height(); }
    QRect BoundsRect() const { return bounds_; }
    QRect ClientRect() const { return QRect(0, 0, bounds_.width(), bounds_.height()); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    void SetBoundsRect(const QRect& R) { SetBounds(R.left(), R.top(), R.width(), R.height()); }

    bool Visible() const { return visible_; }
    void SetVisible(bool Value);
    // Disabled also when the parent is: a control inside a disabled window takes no input.
    bool Enabled() const;
    void SetEnabled(bool Value);

    // The pointer shape while the pointer is over the control; none: its parent's.
    std::optional<Qt::CursorShape> Cursor() const { return cursor_; }
    void SetCursor(std::optional<Qt::CursorShape> Value);

    // Whether a point in the control's coordinates belongs to it; controls of another shape
    // (the spin button's halves) narrow it.
    virtual bool HitTest(QPoint Pos) const;
    // True while this control holds the parent's mouse capture (from a press on it until all
    // buttons are up again).
    bool MouseCapture() const;

    LRESULT Perform(unsigned Msg, WPARAM wParam = 0, LPARAM lParam = 0);
    void Invalidate();
    void Repaint();

    virtual void Paint(QPainter& Canvas);

    bool IsLoading() const { return loading_; }
    void BeginLoading() { loading_ = true; }
    virtual void Loaded();

    TNotifyEvent OnMouseEnter, OnMouseExit;

protected:
    virtual void WndProc(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);
    virtual void MouseEntered();
    virtual void MouseLeft();
    // Mouse messages, Keys being the MK_* flags of the message.
    virtual void MouseDown(Qt::MouseButton Button, unsigned Keys, QPoint Pos);
    virtual void MouseMove(unsigned Keys, QPoint Pos);
    virtual void MouseUp(Qt::MouseButton Button, unsigned Keys, QPoint Pos);
    virtual void DblClick(unsigned Keys, QPoint Pos);

    bool event(QEvent* Event) override;

private:
    friend class TVelBaseCustomControl;

    QPointer<TVelBaseCustomControl> parent_;
    QRect bounds_{0, 0, 0, 0};
    std::optional<Qt::CursorShape> cursor_;
    bool visible_ = true;
    bool enabled_ = true;
    bool loading_ = false;
};

// True for the keyboard, mouse and wheel messages a disabled control ignores.
bool IsInputMessage(unsigned Msg);
