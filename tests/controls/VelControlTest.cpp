#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEnterEvent>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <vector>

#include "VelCustomBevelPanel.h"

namespace {

constexpr unsigned MsgAnswer = CM_BASE + 0x300;

class TRecordingControl : public TVelCustomBevelPanel {
public:
    explicit TRecordingControl(QWidget* parent = nullptr) : TVelCustomBevelPanel(parent)
    {
        setFocusPolicy(Qt::StrongFocus);
    }

    std::vector<TMessage> messages;
    std::vector<unsigned> Ids(std::initializer_list<unsigned> only) const
    {
        std::vector<unsigned> ids;
        for (const TMessage& m : messages)
            if (std::find(only.begin(), only.end(), m.Msg) != only.end())
                ids.push_back(m.Msg);
        return ids;
    }
    const TMessage* Last(unsigned msg) const
    {
        for (auto it = messages.rbegin(); it != messages.rend(); ++it)
            if (it->Msg == msg)
                return &*it;
        return nullptr;
    }

    int wheelUp = 0, wheelDown = 0, subObjectChanges = 0, paints = 0;
    bool handleWheel = true;

protected:
    void WndProc(TMessage& m) override
    {
        messages.push_back(m);
        if (m.Msg == MsgAnswer) {
            m.Result = 42;
            return;
        }
        TVelCustomBevelPanel::WndProc(m);
    }
    bool DoMouseWheelUp() override
    {
        ++wheelUp;
        return handleWheel;
    }
    bool DoMouseWheelDown() override
    {
        ++wheelDown;
        return handleWheel;
    }
    void SubObjectChanged(QObject* sender) override
    {
        ++subObjectChanges;
        TVelCustomBevelPanel::SubObjectChanged(sender);
    }
    void Paint(QPainter& canvas) override
    {
        ++paints;
        TVelCustomBevelPanel::Paint(canvas);
    }
};

void SendWheel(QWidget* w, int delta)
{
    QWheelEvent e(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w, &e);
}

} // namespace

TEST(VelControl, PerformRunsWndProcAndReturnsItsResult)
{
    TRecordingControl c;
    EXPECT_EQ(c.Perform(MsgAnswer, 7, 8), 42);
    ASSERT_NE(c.Last(MsgAnswer), nullptr);
    EXPECT_EQ(c.Last(MsgAnswer)->WParam, 7u);
    EXPECT_EQ(c.Last(MsgAnswer)->LParam, 8);
    EXPECT_EQ(c.Perform(CM_BASE + 0x301), 0) << "unknown messages answer 0";
}

TEST(VelControl, PointsTravelAsSigned16BitHalves)
{
    for (QPoint p : {QPoint(0, 0), QPoint(7, 9), QPoint(-3, 5), QPoint(640, -1), QPoint(-32768, 32767)}) {
        EXPECT_EQ(PointFromLParam(PointToLParam(p)), p);
    }
    EXPECT_EQ(PointToLParam(QPoint(3, 2)), 0x00020003);
}

TEST(VelControl, QtKeysMapToVirtualKeys)
{
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        std::uint16_t vk;
    };
    const Case cases[] = {
        {Qt::Key_A, Qt::NoModifier, 'A'},
        {Qt::Key_Z, Qt::ShiftModifier, 'Z'},
        {Qt::Key_0, Qt::NoModifier, '0'},
        {Qt::Key_7, Qt::KeypadModifier, 0x67},
        {Qt::Key_Backspace, {}, VK_BACK},
        {Qt::Key_Return, {}, VK_RETURN},
        {Qt::Key_Enter, Qt::KeypadModifier, VK_RETURN},
        {Qt::Key_Escape, {}, VK_ESCAPE},
        {Qt::Key_PageUp, {}, VK_PRIOR},
        {Qt::Key_PageDown, {}, VK_NEXT},
        {Qt::Key_Home, {}, VK_HOME},
        {Qt::Key_End, {}, VK_END},
        {Qt::Key_Left, {}, VK_LEFT},
        {Qt::Key_Up, {}, VK_UP},
        {Qt::Key_Right, {}, VK_RIGHT},
        {Qt::Key_Down, {}, VK_DOWN},
        {Qt::Key_Insert, {}, VK_INSERT},
        {Qt::Key_Delete, {}, VK_DELETE},
        {Qt::Key_Shift, {}, VK_SHIFT},
        {Qt::Key_Control, {}, VK_CONTROL},
        {Qt::Key_Alt, {}, VK_MENU},
        {Qt::Key_F1, {}, VK_F1},
        {Qt::Key_F12, {}, VK_F1 + 11},
        {Qt::Key_Minus, Qt::KeypadModifier, 0x6D},
        {Qt::Key_Minus, {}, 0xBD},
        {Qt::Key_Period, {}, 0xBE},
        {Qt::Key_Comma, {}, 0xBC},
        {Qt::Key_Space, {}, VK_SPACE},
        {Qt::Key_Exclam, {}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VirtualKeyFromQtKey(c.key, c.modifiers), c.vk) << "Qt key 0x" << std::hex << c.key;
}

TEST(VelControl, KeyPressBecomesKeyDownThenCharacters)
{
    TRecordingControl c;
    std::vector<std::uint16_t> downs;
    std::vector<QChar> chars;
    c.OnKeyDown = [&](QObject* sender, std::uint16_t& key, Qt::KeyboardModifiers) {
        EXPECT_EQ(sender, &c);
        downs.push_back(key);
    };
    c.OnKeyPress = [&](QObject*, QChar& key) { chars.push_back(key); };
    QTest::keyClick(&c, Qt::Key_A);
    EXPECT_EQ(c.Ids({WM_KEYDOWN, WM_CHAR, WM_KEYUP}), (std::vector<unsigned>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
    EXPECT_EQ(downs, std::vector<std::uint16_t>{'A'});
    EXPECT_EQ(chars, std::vector<QChar>{QChar(u'a')});

    chars.clear();
    QTest::keyClick(&c, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&c, Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(chars, std::vector<QChar>{QChar(1)}) << "Ctrl+letter is a control code, Ctrl+digit no character";

    c.messages.clear();
    QTest::keyClick(&c, Qt::Key_Delete);
    EXPECT_EQ(c.Ids({WM_KEYDOWN, WM_CHAR, WM_KEYUP}), (std::vector<unsigned>{WM_KEYDOWN, WM_KEYUP}))
        << "Delete is a key, never typed input";
}

TEST(VelControl, ModifierKeysReportTheStateAfterTheirOwnPressAndRelease)
{
    TRecordingControl c;
    std::vector<std::pair<std::uint16_t, bool>> downs, ups;
    c.OnKeyDown = [&](QObject*, std::uint16_t& key, Qt::KeyboardModifiers m) {
        downs.emplace_back(key, m.testFlag(Qt::ShiftModifier));
    };
    c.OnKeyUp = [&](QObject*, std::uint16_t& key, Qt::KeyboardModifiers m) {
        ups.emplace_back(key, m.testFlag(Qt::ShiftModifier));
    };
    QTest::keyClick(&c, Qt::Key_Right, Qt::ShiftModifier);
    using P = std::pair<std::uint16_t, bool>;
    EXPECT_EQ(downs, (std::vector<P>{{VK_SHIFT, true}, {VK_RIGHT, true}}));
    EXPECT_EQ(ups, (std::vector<P>{{VK_RIGHT, true}, {VK_SHIFT, false}}));
}

TEST(VelControl, KeyHandlersMayChangeTheKey)
{
    TRecordingControl c;
    c.OnKeyPress = [](QObject*, QChar& key) { key = QChar(u'z'); };
    EXPECT_EQ(c.Perform(WM_CHAR, 'a'), 0);
    EXPECT_EQ(c.Last(WM_CHAR)->WParam, static_cast<WPARAM>('a'));
}

TEST(VelControl, MouseEventsCarryButtonFlagsAndClientPosition)
{
    QWidget window;
    auto* c = new TRecordingControl(&window);
    c->setGeometry(10, 10, 100, 40);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QTest::mouseClick(c, Qt::LeftButton, Qt::ShiftModifier, QPoint(7, 9));
    const TMessage* down = c->Last(WM_LBUTTONDOWN);
    const TMessage* up = c->Last(WM_LBUTTONUP);
    ASSERT_TRUE(down && up);
    EXPECT_EQ(down->WParam, static_cast<WPARAM>(MK_LBUTTON | MK_SHIFT));
    EXPECT_EQ(up->WParam, static_cast<WPARAM>(MK_SHIFT));
    EXPECT_EQ(PointFromLParam(down->LParam), QPoint(7, 9));

    QTest::mouseClick(c, Qt::RightButton, Qt::ControlModifier, QPoint(2, 2));
    ASSERT_NE(c->Last(WM_RBUTTONUP), nullptr);
    EXPECT_EQ(c->Last(WM_RBUTTONUP)->WParam, static_cast<WPARAM>(MK_CONTROL));
    QTest::mouseDClick(c, Qt::LeftButton, Qt::NoModifier, QPoint(3, 4));
    EXPECT_NE(c->Last(WM_LBUTTONDBLCLK), nullptr);
}

TEST(VelControl, WheelStepsOncePerFullNotch)
{
    TRecordingControl c;
    SendWheel(&c, 60);
    EXPECT_EQ(c.wheelUp, 0);
    SendWheel(&c, 60);
    EXPECT_EQ(c.wheelUp, 1);
    SendWheel(&c, -240);
    EXPECT_EQ(c.wheelDown, 2);

    c.handleWheel = false;
    QWheelEvent e(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&c, &e);
    EXPECT_FALSE(e.isAccepted()) << "an unused notch goes on to the parent";
}

TEST(VelControl, EnterAndLeaveTrackTheMouse)
{
    TRecordingControl c;
    std::vector<std::string> log;
    c.OnMouseEnter = [&](QObject*) { log.push_back("enter"); };
    c.OnMouseExit = [&](QObject*) { log.push_back("exit"); };
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&c, &enter);
    EXPECT_TRUE(c.MouseAbove());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&c, &leave);
    EXPECT_FALSE(c.MouseAbove());
    EXPECT_EQ(log, (std::vector<std::string>{"enter", "exit"}));
}

TEST(VelControl, AfterEnterArrivesOnceTheFocusChangeIsHandled)
{
    QWidget window;
    auto* first = new TRecordingControl(&window);
    auto* second = new TRecordingControl(&window);
    second->move(0, 50);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    first->setFocus();
    QCoreApplication::sendPostedEvents();

    std::vector<std::string> log;
    first->OnExit = [&](QObject*) { log.push_back("first exit"); };
    first->OnAfterExit = [&](QObject*) { log.push_back("first after exit"); };
    second->OnEnter = [&](QObject*) { log.push_back("second enter"); };
    second->OnAfterEnter = [&](QObject*) { log.push_back("second after enter"); };

    second->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(log, (std::vector<std::string>{"first exit", "second enter"}));
    EXPECT_TRUE(second->Entered());
    EXPECT_FALSE(first->Entered());
    EXPECT_EQ(second->LastFocusReason(), Qt::TabFocusReason);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"first exit", "second enter", "first after exit", "second after enter"}));
}

TEST(VelControl, WidgetChangesBecomeMessages)
{
    TRecordingControl c;
    c.resize(120, 30);
    QCoreApplication::sendPostedEvents();
    c.show();
    ASSERT_NE(c.Last(WM_SIZE), nullptr);
    EXPECT_EQ(LoWord(static_cast<std::uintptr_t>(c.Last(WM_SIZE)->LParam)), 120);
    EXPECT_EQ(HiWord(static_cast<std::uintptr_t>(c.Last(WM_SIZE)->LParam)), 30);
    c.setEnabled(false);
    EXPECT_NE(c.Last(CM_ENABLEDCHANGED), nullptr);
    QFont f = c.font();
    f.setPointSize(f.pointSize() + 3);
    c.setFont(f);
    EXPECT_NE(c.Last(CM_FONTCHANGED), nullptr);
    c.grab();
    EXPECT_GT(c.paints, 0);
}

TEST(VelControl, UpdateCounterNotifiesOnceAtTheOuterUnlock)
{
    TRecordingControl c;
    c.LockUpdates();
    c.LockUpdates();
    EXPECT_TRUE(c.UpdatesLocked());
    c.UnlockUpdates(true);
    EXPECT_EQ(c.subObjectChanges, 0);
    c.UnlockUpdates(true);
    EXPECT_EQ(c.subObjectChanges, 1);
    EXPECT_FALSE(c.UpdatesLocked());
    c.LockUpdates();
    c.UnlockUpdates(false);
    EXPECT_EQ(c.subObjectChanges, 1);
}

TEST(VelControl, LoadingBracket)
{
    TRecordingControl c;
    EXPECT_FALSE(c.IsLoading());
    c.BeginLoading();
    EXPECT_TRUE(c.IsLoading());
    c.Loaded();
    EXPECT_FALSE(c.IsLoading());
}

TEST(VelControl, DisabledControlsIgnoreWheelKeysAndMouse)
{
    QWidget window;
    auto* c = new TRecordingControl(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    int keys = 0;
    c->OnKeyDown = [&](QObject*, std::uint16_t&, Qt::KeyboardModifiers) { ++keys; };
    c->setEnabled(false);
    SendWheel(c, 120);
    EXPECT_EQ(c->wheelUp, 0) << "a notch over a disabled spin edit must not step it";
    QTest::keyClick(c, Qt::Key_Up);
    EXPECT_EQ(c->Perform(WM_KEYDOWN, VK_UP), 0);
    EXPECT_EQ(keys, 0);
    c->messages.clear();
    QTest::mouseClick(c, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    EXPECT_EQ(c->Last(WM_LBUTTONDOWN), nullptr);
    c->setEnabled(true);
    SendWheel(c, 120);
    EXPECT_EQ(c->wheelUp, 1);
}

TEST(VelControl, PaletteChangeRepaintsThroughTheSystemColourMessage)
{
    TRecordingControl c;
    c.setPalette(QPalette(QColor(20, 20, 20)));
    EXPECT_NE(c.Last(CM_SYSCOLORCHANGE), nullptr);
    EXPECT_LT(c.grab().toImage().pixelColor(50, 20).lightness(), 50);
}

TEST(VelControl, FlatFrameOnlyWhenFlatAndIdle)
{
    TRecordingControl c;
    c.resize(20, 10);
    QPalette p;
    p.setColor(QPalette::Button, QColor(200, 200, 200));
    p.setColor(QPalette::Dark, QColor(128, 128, 128));
    c.setPalette(p);
    c.Bevel()->SetMode(bmStandard);
    c.Bevel()->SetStandardStyle(lsSingleLowered);
    EXPECT_EQ(c.grab().toImage().pixelColor(0, 5), QColor(128, 128, 128)) << "not flat: the bevel shows";
    c.SetFlat(true);
    EXPECT_EQ(c.grab().toImage().pixelColor(0, 5), QColor(200, 200, 200)) << "flat and idle: the border is covered";
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&c, &enter);
    EXPECT_EQ(c.grab().toImage().pixelColor(0, 5), QColor(128, 128, 128)) << "under the mouse: full frame";
}

TEST(VelControl, TransparencyChangeReportsOpacity)
{
    TRecordingControl c;
    EXPECT_TRUE(c.Opaque());
    c.SetTransparent(true);
    EXPECT_FALSE(c.Opaque());
    EXPECT_NE(c.Last(CM_OPACITYCHANGED), nullptr);
    c.messages.clear();
    c.SetTransparent(true);
    EXPECT_EQ(c.Last(CM_OPACITYCHANGED), nullptr);
}

TEST(VelControl, HintIsTheToolTip)
{
    TRecordingControl c;
    c.SetHint(QStringLiteral("Widerstand \u03A9"));
    EXPECT_EQ(c.toolTip(), c.Hint());
}

TEST(VelControl, EnteringAChildRunsTheContainersEnterStepAgain)
{
    TRecordingControl parent;
    auto* child = new TRecordingControl(&parent);
    std::vector<std::string> log;
    parent.OnMouseEnter = [&](QObject*) { log.push_back("parent enter"); };
    parent.OnMouseExit = [&](QObject*) { log.push_back("parent exit"); };
    child->OnMouseEnter = [&](QObject*) { log.push_back("child enter"); };
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&parent, &enter);
    QCoreApplication::sendEvent(child, &enter);
    EXPECT_EQ(log, (std::vector<std::string>{"parent enter", "parent enter", "child enter"}));
    EXPECT_TRUE(parent.MouseAbove());
}
