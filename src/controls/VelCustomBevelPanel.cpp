#include "VelCustomBevelPanel.h"

#include <QPainter>
#include <QStyle>

#include "VelDevicePixels.h"
#include "VelEdge.h"
#include "VelMessageEvent.h"
#include "VelSysColors.h"

TVelCustomBevelPanel::TVelCustomBevelPanel(QWidget* parent) : TVelCustomPanel(parent), bevel_(CreateBevel())
{
    bevel_->SetNativeBorderCapable(true);
    bevel_->OnChange = [this](QObject* Sender) { SubObjectChanged(Sender); };
}

TVelCustomBevelPanel::~TVelCustomBevelPanel()
{
    destroying_ = true;
    bevel_->OnChange = nullptr;
}

TVelBevel* TVelCustomBevelPanel::CreateBevel()
{
    return new TVelBevel(this);
}

void TVelCustomBevelPanel::SetBevel(const TVelBevel* Value)
{
    const TVelBevelMode oldMode = bevel_->Mode();
    bevel_->Assign(Value);
    // The copy may come from a bevel without a window; this one still has the window's border.
    bevel_->SetNativeBorderCapable(true);
    // A copied mode is a mode change too, and may need another window border.
    if (bevel_->Mode() != oldMode && !IsLoading() && !noHandleUpdate_)
        RecreateWnd();
}

QRect TVelCustomBevelPanel::InnerRect() const
{
    return bevel_->InnerRect(ClientRect());
}

QRect TVelCustomBevelPanel::SizeGripRect() const
{
    const QRect inner = InnerRect();
    const int w = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return QRect(inner.right() - w + 1, inner.bottom() - w + 1, w, w) & inner;
}

void TVelCustomBevelPanel::SubObjectChanged(QObject* Sender)
{
    if (IsLoading() || destroying_)
        return;
    if (Sender != bevel_.get()) {
        TVelCustomPanel::SubObjectChanged(Sender);
        return;
    }
    if (noHandleUpdate_ || !bevel_->ModeChanging()) {
        UpdateMargins();
        if (isVisible())
            repaint();
        else
            update();
        return;
    }
    // A new mode may need another window border.
    RecreateWnd();
}

void TVelCustomBevelPanel::RecreateWnd()
{
    int frame = 0;
    if (bevel_->Mode() == bmWindows && !IsThemed())
        frame = Ctl3D() ? 2 : 1;
    SetWindowFrameWidth(frame);
    UpdateMargins();
    TVelCustomPanel::RecreateWnd();
}

void TVelCustomBevelPanel::Loaded()
{
    TVelCustomPanel::Loaded();
    RecreateWnd();
}

void TVelCustomBevelPanel::UpdateMargins()
{
    const int f = WindowFrameWidth();
    const int e = bevel_->Extent(), rb = bevel_->ExtentRightBottom();
    setContentsMargins(f + e, f + e, f + rb, f + rb);
}

void TVelCustomBevelPanel::WndProc(TMessage& Message)
{
    if (Message.Msg == CM_CTL3DCHANGED && bevel_->Mode() == bmWindows && !IsThemed())
        RecreateWnd();
    TVelCustomPanel::WndProc(Message);
}

void TVelCustomBevelPanel::Paint(QPainter& Canvas)
{
    if (IsLoading())
        return;
    PaintBackground(Canvas);
    // Flat and idle, the frame step covers the border instead.
    if (hasFocus() || !Flat())
        bevel_->DrawBevel(Canvas, ClientRect(), Transparent());
}

void TVelCustomBevelPanel::PaintWindowFrame(QPainter& Canvas)
{
    QRect r = rect();
    // Whole-pixel lines are thinner than the frame's room at a fractional scale; what they leave
    // belongs to the client area's background. On whole pixels the one or two lines cover it.
    if (WindowFrameWidth() > 2 || (WindowFrameWidth() > 0 && !VelDeviceExact(Canvas))) {
        Canvas.save();
        Canvas.setClipRegion(QRegion(r).subtracted(QRegion(ClientRect())), Qt::IntersectClip);
        Canvas.fillRect(r, EffectiveColor());
        Canvas.restore();
    }
    if (WindowFrameWidth() == 2)
        VelDrawEdge(Canvas, r, EDGE_SUNKEN, BF_RECT, palette());
    else if (WindowFrameWidth() == 1)
        VelFrameRect(Canvas, r, VelColorToQColor(clWindowFrame, palette()));
}

void TVelCustomBevelPanel::DrawFullFrame(QPainter& Canvas)
{
    if (bevel_->Mode() == bmWindows) {
        TVelCustomPanel::DrawFullFrame(Canvas);
        return;
    }
    bevel_->DrawBevel(Canvas, ClientRect(), true);
}

void TVelCustomBevelPanel::DrawFlatFrame(QPainter& Canvas)
{
    if (bevel_->Mode() == bmWindows) {
        TVelCustomPanel::DrawFlatFrame(Canvas);
        return;
    }
    if (IsThemed())
        return;
    const QRect c = ClientRect();
    const int w = c.width(), h = c.height();
    const int e = bevel_->Extent(), f = bevel_->ExtentRightBottom();
    const QColor color = EffectiveColor();
    const TVelDeviceFrame frame(Canvas, c);
    auto band = [&](int l, int t, int r, int b) {
        if (r > l && b > t)
            frame.Fill(Canvas, QRect(c.left() + l, c.top() + t, r - l, b - t), color);
    };
    band(0, 0, w, e);
    band(0, e, e, h);
    band(e, h - f - 1, w, h);
    band(w - f, e, w, h - f);
}

void TVelCustomBevelPanel::ThemeModeChanged()
{
    if (IsLoading())
        return;
    UpdateOpacity();
    for (QObject* child : children())
        if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow())
            VelSendMessage(w, WM_THEMECHANGED);
    // The border styles depend on the theme.
    RecreateWnd();
}
