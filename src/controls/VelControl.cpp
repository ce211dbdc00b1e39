#include "VelControl.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QWheelEvent>

#include "VelBaseControl.h"
#include "VelMessageEvent.h"

namespace {

// Virtual-key codes beyond the ones the library names in Messages.h.
enum : std::uint16_t {
    VkNumpad0 = 0x60,
    VkMultiply = 0x6A,
    VkAdd = 0x6B,
    VkSubtract = 0x6D,
    VkDecimal = 0x6E,
    VkDivide = 0x6F,
    VkOemPlus = 0xBB,
    VkOemComma = 0xBC,
    VkOemMinus = 0xBD,
    VkOemPeriod = 0xBE,
};

Qt::KeyboardModifiers KeyEventModifiers(const QKeyEvent* e)
{
    // Platforms disagree whether a modifier key's own press and release carry its flag; the
    // shared keyboard state needs the state after the event, so settle it from the key itself.
    Qt::KeyboardModifiers m = e->modifiers();
    Qt::KeyboardModifier own = Qt::NoModifier;
    switch (e->key()) {
    case Qt::Key_Shift: own = Qt::ShiftModifier; break;
    case Qt::Key_Control: own = Qt::ControlModifier; break;
    case Qt::Key_Alt: own = Qt::AltModifier; break;
    default: return m;
    }
    return e->type() == QEvent::KeyPress ? (m | own) : (m & ~own);
}

WPARAM MouseKeyFlags(const QMouseEvent* e)
{
    WPARAM flags = 0;
    if (e->buttons() & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (e->buttons() & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (e->buttons() & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (e->modifiers() & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (e->modifiers() & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

} // namespace

LPARAM PointToLParam(QPoint Point)
{
    return MakeLResult(static_cast<std::uint16_t>(Point.x()), static_cast<std::uint16_t>(Point.y()));
}

QPoint PointFromLParam(LPARAM LParam)
{
    const auto v = static_cast<std::uintptr_t>(LParam);
    return {static_cast<std::int16_t>(LoWord(v)), static_cast<std::int16_t>(HiWord(v))};
}

std::uint16_t VirtualKeyFromQtKey(int Key, Qt::KeyboardModifiers Modifiers)
{
    const bool keypad = Modifiers & Qt::KeypadModifier;
    if (Key >= Qt::Key_0 && Key <= Qt::Key_9)
        return static_cast<std::uint16_t>(keypad ? VkNumpad0 + (Key - Qt::Key_0) : Key);
    // Letters share their codes with the upper-case ASCII letters in both schemes.
    if (Key >= Qt::Key_A && Key <= Qt::Key_Z)
        return static_cast<std::uint16_t>(Key);
    if (Key >= Qt::Key_F1 && Key <= Qt::Key_F24)
        return static_cast<std::uint16_t>(VK_F1 + (Key - Qt::Key_F1));
    switch (Key) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Asterisk: return keypad ? VkMultiply : 0;
    case Qt::Key_Slash: return keypad ? VkDivide : 0;
    case Qt::Key_Plus: return keypad ? VkAdd : VkOemPlus;
    case Qt::Key_Minus: return keypad ? VkSubtract : VkOemMinus;
    case Qt::Key_Period: return keypad ? VkDecimal : VkOemPeriod;
    case Qt::Key_Comma: return VkOemComma;
    default: return 0;
    }
}

TVelBaseCustomControl::TVelBaseCustomControl(QWidget* parent) : QWidget(parent)
{
    // Windows always report pointer moves; hot states and graphic children rely on them.
    setMouseTracking(true);
}

TVelBaseCustomControl::~TVelBaseCustomControl()
{
    // Graphic children outlive their parent only as orphans; they must not call back into it.
    for (TVelBaseControl* child : std::vector<TVelBaseControl*>(graphicControls_))
        child->parent_ = nullptr;
}

LRESULT TVelBaseCustomControl::Perform(unsigned Msg, WPARAM wParam, LPARAM lParam)
{
    TMessage message{Msg, wParam, lParam, 0};
    // A disabled control takes no input, whether it comes from Qt or is sent directly; without
    // this a wheel notch over a disabled spin edit would still step it.
    if (IsInputMessage(Msg) && !isEnabled())
        return 0;
    WndProc(message);
    return message.Result;
}

void TVelBaseCustomControl::SetHint(const QString& Value)
{
    if (hint_ == Value)
        return;
    hint_ = Value;
    setToolTip(Value);
}

QRect TVelBaseCustomControl::ClientRect() const
{
    return rect().adjusted(frameWidth_, frameWidth_, -frameWidth_, -frameWidth_);
}

void TVelBaseCustomControl::RecreateWnd()
{
    update();
}

void TVelBaseCustomControl::SetWindowFrameWidth(int Width)
{
    if (frameWidth_ == Width)
        return;
    frameWidth_ = Width;
    update();
}

void TVelBaseCustomControl::PaintWindowFrame(QPainter& /*Canvas*/) {}

void TVelBaseCustomControl::PaintFrameStep(QPainter& /*Canvas*/) {}

TVelBaseControl* TVelBaseCustomControl::GraphicControlAt(QPoint Pos) const
{
    for (auto it = graphicControls_.rbegin(); it != graphicControls_.rend(); ++it) {
        TVelBaseControl* c = *it;
        if (c->Visible() && c->BoundsRect().contains(Pos) && c->HitTest(Pos - c->BoundsRect().topLeft()))
            return c;
    }
    return nullptr;
}

void TVelBaseCustomControl::InsertGraphicControl(TVelBaseControl* Control)
{
    if (std::find(graphicControls_.begin(), graphicControls_.end(), Control) == graphicControls_.end())
        graphicControls_.push_back(Control);
}

void TVelBaseCustomControl::RemoveGraphicControl(TVelBaseControl* Control)
{
    std::erase(graphicControls_, Control);
    if (graphicCapture_ == Control)
        graphicCapture_ = nullptr;
    if (graphicHot_ == Control) {
        graphicHot_ = nullptr;
        ShowGraphicCursor(nullptr);
    }
}

void TVelBaseCustomControl::PaintGraphicControls(QPainter& Canvas, const QRegion& Dirty)
{
    const QRect client = ClientRect();
    for (TVelBaseControl* c : graphicControls_) {
        if (!c->Visible() || c->BoundsRect().isEmpty() || !c->BoundsRect().intersects(client) ||
            !Dirty.intersects(c->BoundsRect()))
            continue;
        Canvas.save();
        Canvas.setClipRect(c->BoundsRect() & client, Qt::IntersectClip);
        Canvas.translate(c->BoundsRect().topLeft());
        c->Paint(Canvas);
        Canvas.restore();
    }
}

void TVelBaseCustomControl::SetGraphicHot(TVelBaseControl* Control)
{
    if (graphicHot_ == Control)
        return;
    // As in the classic toolkit, the window itself stops being the mouse control when the pointer
    // moves onto a graphic child, and the child's enter is passed on to the window again.
    TVelBaseControl* old = graphicHot_;
    graphicHot_ = Control;
    ShowGraphicCursor(Control);
    if (old) {
        old->Perform(CM_MOUSELEAVE);
        if (!Control)
            Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
    } else {
        Perform(CM_MOUSELEAVE);
    }
    if (Control) {
        Control->Perform(CM_MOUSEENTER);
        Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(Control));
    } else {
        Perform(CM_MOUSEENTER);
    }
}

void TVelBaseCustomControl::ShowGraphicCursor(const TVelBaseControl* Control)
{
    const std::optional<Qt::CursorShape> shape = Control ? Control->Cursor() : std::nullopt;
    if (shape) {
        if (!graphicCursorShown_) {
            graphicCursorShown_ = true;
            ownCursor_.reset();
            if (testAttribute(Qt::WA_SetCursor))
                ownCursor_ = cursor();
        }
        setCursor(*shape);
        return;
    }
    if (!graphicCursorShown_)
        return;
    graphicCursorShown_ = false;
    if (ownCursor_)
        setCursor(*ownCursor_);
    else
        unsetCursor();
}

bool TVelBaseCustomControl::RouteToGraphicControl(unsigned Msg, WPARAM Keys, QPoint Pos, Qt::MouseButtons Buttons)
{
    if (graphicControls_.empty() && !graphicCapture_)
        return false;
    // A press on the window itself keeps the mouse with the window until every button is up, as
    // a press on a graphic child keeps it with the child: a selection dragged over the spin button
    // neither presses the button nor loses its release.
    if (windowCapture_) {
        if (Buttons == Qt::NoButton)
            windowCapture_ = false;
        return false;
    }
    QPointer<TVelBaseControl> target = graphicCapture_;
    if (!target) {
        target = GraphicControlAt(Pos);
        SetGraphicHot(target);
    }
    if (!target) {
        windowCapture_ = Msg == WM_LBUTTONDOWN || Msg == WM_RBUTTONDOWN || Msg == WM_LBUTTONDBLCLK;
        return false;
    }
    if (Msg == WM_LBUTTONDOWN || Msg == WM_RBUTTONDOWN || Msg == WM_LBUTTONDBLCLK)
        graphicCapture_ = target;
    target->Perform(Msg, Keys, PointToLParam(Pos - target->BoundsRect().topLeft()));
    if ((Msg == WM_LBUTTONUP || Msg == WM_RBUTTONUP) && Buttons == Qt::NoButton) {
        graphicCapture_ = nullptr;
        SetGraphicHot(GraphicControlAt(Pos));
    }
    return true;
}

void TVelBaseCustomControl::PostMessage(unsigned Msg, WPARAM wParam, LPARAM lParam)
{
    VelPostMessage(this, Msg, wParam, lParam);
}

void TVelBaseCustomControl::LockUpdates()
{
    ++updateCount_;
}

void TVelBaseCustomControl::UnlockUpdates(bool Notify)
{
    if (updateCount_ > 0)
        --updateCount_;
    if (updateCount_ == 0 && Notify)
        SubObjectChanged(nullptr);
}

void TVelBaseCustomControl::SubObjectChanged(QObject* /*Sender*/)
{
    if (repaintOnChange_)
        update();
}

void TVelBaseCustomControl::Loaded()
{
    loading_ = false;
}

void TVelBaseCustomControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_KEYUP: {
        auto key = static_cast<std::uint16_t>(Message.WParam);
        if (Message.Msg == WM_KEYDOWN)
            KeyDown(key, KeyMessageModifiers());
        else
            KeyUp(key, KeyMessageModifiers());
        Message.WParam = key;
        break;
    }
    case WM_CHAR: {
        QChar ch(static_cast<char16_t>(Message.WParam));
        KeyPress(ch);
        Message.WParam = ch.unicode();
        break;
    }
    case WM_SETFOCUS: DoEnter(); break;
    case WM_KILLFOCUS: DoExit(); break;
    case CM_MOUSEENTER:
        // The parent runs its enter step again when the pointer moves onto a child (Qt does not
        // make it leave first, so a leave is not passed on).
        if (auto* parent = qobject_cast<TVelBaseCustomControl*>(parentWidget()); parent && Message.LParam == 0)
            parent->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(this));
        MouseEntered();
        break;
    case CM_MOUSELEAVE: MouseLeft(); break;
    default: DefaultHandler(Message); break;
    }
}

void TVelBaseCustomControl::DefaultHandler(TMessage& Message)
{
    Message.Result = 0;
}

void TVelBaseCustomControl::KeyDown(std::uint16_t& Key, Qt::KeyboardModifiers Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TVelBaseCustomControl::KeyUp(std::uint16_t& Key, Qt::KeyboardModifiers Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TVelBaseCustomControl::KeyPress(QChar& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TVelBaseCustomControl::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TVelBaseCustomControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

void TVelBaseCustomControl::MouseEntered()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TVelBaseCustomControl::MouseLeft()
{
    if (OnMouseExit)
        OnMouseExit(this);
}

bool TVelBaseCustomControl::DoMouseWheelUp()
{
    return false;
}

bool TVelBaseCustomControl::DoMouseWheelDown()
{
    return false;
}

void TVelBaseCustomControl::Paint(QPainter& /*Canvas*/) {}

Qt::KeyboardModifiers TVelBaseCustomControl::KeyMessageModifiers() const
{
    return translatingKey_ ? keyModifiers_ : QGuiApplication::keyboardModifiers();
}

void TVelBaseCustomControl::PaintEvent(const QRegion& Dirty)
{
    QPainter painter(this);
    // Most paints are a text area asking for itself: the window frame and the graphic children
    // outside it would be clipped away whole, after being drawn.
    const QRect client = ClientRect();
    if (!client.contains(Dirty.boundingRect()))
        PaintWindowFrame(painter);
    painter.save();
    painter.setClipRect(client, Qt::IntersectClip);
    Paint(painter);
    PaintGraphicControls(painter, Dirty);
    painter.restore();
    PaintFrameStep(painter);
}

bool TVelBaseCustomControl::event(QEvent* Event)
{
    switch (Event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
        // Qt's own handling ignores input for a disabled widget; the translation must too.
        if (!isEnabled())
            return QWidget::event(Event);
        break;
    default: break;
    }
    switch (Event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (TranslateKey(Event))
            return true;
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        if (TranslateMouse(Event))
            return true;
        break;
    case QEvent::Wheel: return TranslateWheel(Event);
    case QEvent::FocusIn:
        lastFocusReason_ = static_cast<QFocusEvent*>(Event)->reason();
        Perform(WM_SETFOCUS);
        return true;
    case QEvent::FocusOut: Perform(WM_KILLFOCUS); return true;
    case QEvent::Enter: Perform(CM_MOUSEENTER); return true;
    case QEvent::Leave:
        if (graphicHot_) {
            TVelBaseControl* hot = graphicHot_;
            graphicHot_ = nullptr;
            ShowGraphicCursor(nullptr);
            hot->Perform(CM_MOUSELEAVE);
        }
        Perform(CM_MOUSELEAVE);
        return true;
    case QEvent::Paint: PaintEvent(static_cast<QPaintEvent*>(Event)->region()); return true;
    case QEvent::Move: {
        const bool handled = QWidget::event(Event);
        Perform(WM_MOVE, 0, PointToLParam(pos()));
        return handled;
    }
    case QEvent::PaletteChange:
    case QEvent::ApplicationPaletteChange: {
        // The system colours are read from the palette at paint time; the new one shows at once.
        const bool handled = QWidget::event(Event);
        Perform(CM_SYSCOLORCHANGE);
        return handled;
    }
    case QEvent::ThemeChange: {
        const bool handled = QWidget::event(Event);
        Perform(WM_THEMECHANGED);
        return handled;
    }
    case QEvent::Resize: {
        const bool handled = QWidget::event(Event);
        Perform(WM_SIZE, 0, MakeLResult(static_cast<std::uint16_t>(width()), static_cast<std::uint16_t>(height())));
        return handled;
    }
    case QEvent::EnabledChange:
    case QEvent::FontChange: {
        const bool handled = QWidget::event(Event);
        Perform(Event->type() == QEvent::EnabledChange ? CM_ENABLEDCHANGED : CM_FONTCHANGED);
        return handled;
    }
    default:
        if (Event->type() == TVelMessageEvent::EventType()) {
            TMessage& m = static_cast<TVelMessageEvent*>(Event)->Message;
            m.Result = Perform(m.Msg, m.WParam, m.LParam);
            return true;
        }
        break;
    }
    return QWidget::event(Event);
}

bool TVelBaseCustomControl::TranslateKey(QEvent* Event)
{
    auto* e = static_cast<QKeyEvent*>(Event);
    // Tab and Backtab stay with Qt's focus chain, the way a dialog takes them before the control.
    const bool tab = e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab;
    if (tab && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;

    const Qt::KeyboardModifiers modifiers = KeyEventModifiers(e);
    const bool press = e->type() == QEvent::KeyPress;
    const std::uint16_t vk = VirtualKeyFromQtKey(e->key(), e->modifiers());

    const QScopedValueRollback translating(translatingKey_, true);
    const QScopedValueRollback heldModifiers(keyModifiers_, modifiers);

    if (vk != 0)
        Perform(press ? WM_KEYDOWN : WM_KEYUP, vk, 1);
    if (press) {
        const bool ctrlOnly = (modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier);
        for (QChar ch : e->text()) {
            char16_t code = ch.unicode();
            // Delete arrives with the DEL character on some platforms; it is a key, not input.
            if (code == 0x7F)
                continue;
            // Ctrl with a letter is a control code and with anything else no character at all,
            // whatever text the platform attached; otherwise Ctrl+A would type an "a".
            if (ctrlOnly && code >= 0x20) {
                if (!((code >= u'a' && code <= u'z') || (code >= u'A' && code <= u'Z')))
                    continue;
                code &= 0x1F;
            }
            Perform(WM_CHAR, code, 1);
        }
    }
    e->accept();
    return true;
}

bool TVelBaseCustomControl::TranslateMouse(QEvent* Event)
{
    auto* e = static_cast<QMouseEvent*>(Event);
    const bool left = e->button() == Qt::LeftButton;
    const bool right = e->button() == Qt::RightButton;
    unsigned msg = 0;
    switch (Event->type()) {
    case QEvent::MouseMove: msg = WM_MOUSEMOVE; break;
    case QEvent::MouseButtonPress:
        if (left)
            msg = WM_LBUTTONDOWN;
        else if (right)
            msg = WM_RBUTTONDOWN;
        break;
    case QEvent::MouseButtonRelease:
        if (left)
            msg = WM_LBUTTONUP;
        else if (right)
            msg = WM_RBUTTONUP;
        break;
    case QEvent::MouseButtonDblClick:
        if (left)
            msg = WM_LBUTTONDBLCLK;
        break;
    default: break;
    }
    if (msg == 0)
        return false;
    const QPoint pos = e->position().toPoint();
    if (!RouteToGraphicControl(msg, MouseKeyFlags(e), pos, e->buttons()))
        Perform(msg, MouseKeyFlags(e), PointToLParam(pos));
    e->accept();
    return true;
}

bool TVelBaseCustomControl::TranslateWheel(QEvent* Event)
{
    auto* e = static_cast<QWheelEvent*>(Event);
    // High-resolution wheels deliver fractions of a notch; the controls step once per full notch.
    wheelDelta_ += e->angleDelta().y();
    bool handled = false;
    while (wheelDelta_ >= 120) {
        wheelDelta_ -= 120;
        handled = DoMouseWheelUp() || handled;
    }
    while (wheelDelta_ <= -120) {
        wheelDelta_ += 120;
        handled = DoMouseWheelDown() || handled;
    }
    e->setAccepted(handled);
    return handled;
}
