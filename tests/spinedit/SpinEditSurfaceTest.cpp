#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QWheelEvent>
#include <functional>

#include "AccessibleEventLog.h"
#include "SpinEditProbe.h"
#include "VelExtSpinEdit.h"
#include "VelSpinButton.h"
#include "VelSpinEdit.h"

namespace {

void LoadLikeCalculator(TVelExtSpinEdit& e)
{
    e.BeginLoading();
    e.SetMaxValue(1000000.0);
    e.SetEditType(ntFloatNumber);
    e.SetValue(0.0);
    e.Loaded();
}

void Wheel(QWidget& w, int delta)
{
    QWheelEvent e(QPointF(5, 5), w.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w, &e);
}

// Two inputs in one window, so the focus can sit in either.
class TwoInputs : public ::testing::Test {
protected:
    TwoInputs() : first(&window), second(&window)
    {
        for (TVelExtSpinEdit* e : {&first, &second})
            LoadLikeCalculator(*e);
        second.move(0, 40);
        window.resize(300, 100);
        window.show();
        QApplication::setActiveWindow(&window);
        first.setFocus();
        (void)QTest::qWaitFor([&] { return first.hasFocus(); });
    }
    MessageBoxCatcher boxes_;
    QWidget window;
    TVelExtSpinEdit first, second;
};

TEST_F(TwoInputs, WheelStepsOnlyTheFocusedEditAndPassesOnOverOthers)
{
    QStringList order;
    first.OnMouseWheelUp = [&](QObject*) { order << "wheelup " + first.Text(); };
    first.OnMouseWheelDown = [&](QObject*) { order << "wheeldown " + first.Text(); };
    second.OnMouseWheelUp = [&](QObject*) { order << "second"; };
    Wheel(first, 120);
    Wheel(first, 120);
    Wheel(first, -120);
    EXPECT_EQ(order, (QStringList{"wheelup 0.0", "wheelup 1.0", "wheeldown 2.0"}));
    EXPECT_EQ(first.Text(), "1.0");

    QWheelEvent over(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(&second, &over);
    EXPECT_FALSE(over.isAccepted()) << "the notch goes on to the parent";
    EXPECT_EQ(second.Text(), "0.0");
    EXPECT_EQ(order.size(), 3);
}

TEST_F(TwoInputs, AccessibleSpinBoxWithValueActionsAndEvents)
{
    QLabel caption(QStringLiteral("&Amperage"), &window);
    caption.setBuddy(&first);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&first);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::SpinBox);
    EXPECT_EQ(a->text(QAccessible::Name), "Amperage");
    QAccessibleValueInterface* v = a->valueInterface();
    ASSERT_NE(v, nullptr);
    first.SetStep(2.0);
    EXPECT_EQ(v->minimumValue().toDouble(), 0.0);
    EXPECT_EQ(v->maximumValue().toDouble(), 1000000.0);
    EXPECT_EQ(v->minimumStepSize().toDouble(), 2.0);
    ASSERT_NE(a->textInterface(), nullptr);

    QStringList events;
    const TVelAccessibleEventHook previous = SetVelAccessibleEventHook([&](QAccessibleEvent* e) {
        if (e->type() == QAccessible::ValueChanged)
            events << static_cast<QAccessibleValueChangeEvent*>(e)->value().toString();
    });
    QAccessibleActionInterface* actions = a->actionInterface();
    ASSERT_NE(actions, nullptr);
    EXPECT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::increaseAction()));
    // As on Qt's spin boxes: a key named here is read out as the edit's shortcut.
    for (const QString& action : actions->actionNames())
        EXPECT_EQ(actions->keyBindingsForAction(action), QStringList()) << action.toStdString();
    actions->doAction(QAccessibleActionInterface::increaseAction());
    actions->doAction(QAccessibleActionInterface::increaseAction());
    actions->doAction(QAccessibleActionInterface::decreaseAction());
    QTest::keyClick(&first, Qt::Key_Up);
    SetVelAccessibleEventHook(previous);
    EXPECT_EQ(v->currentValue().toDouble(), 4.0);
    EXPECT_EQ(events, (QStringList{"2", "4", "2", "4"}));

    EXPECT_FALSE(a->state().invisible);
    first.hide();
    EXPECT_TRUE(a->state().invisible);
}

// Whoever changes a number edit's text, a screen reader's copy of it stays true: the text events
// of each change, applied to the text before it, give the text after it; the value event stays.
TEST_F(TwoInputs, EveryChangeOfTheNumberTextIsToldOnce)
{
    using Action = std::function<void()>;
    const auto type = [this](char C) -> Action { return [=, this] { QTest::keyClick(&first, C); }; };
    const Action up = [this] { QTest::keyClick(&first, Qt::Key_Up); };
    const Action spinButton = [this] {
        QTest::mouseClick(&first, Qt::LeftButton, {}, first.SpinButton()->BoundsRect().topLeft() + QPoint(3, 3));
    };
    const Action setValue = [this] { first.SetValue(12.5); };
    const Action typeAndUndo = [this] {
        QTest::keyClick(&first, '7');
        first.Undo();
    };
    struct Case {
        const char* name;
        double value;
        int caret;
        Action act;
        QStringList told;
    };
    const Case cases[] = {
        {"a digit replaces the leading zero", 0, 1, type('5'), {"value 5", "remove 0 '0'", "insert 0 '5'", "caret 1"}},
        {"a digit the reformat takes back", 0, 4, type('5'), {}},
        {"a letter", 0, 1, type('a'), {}},
        {"the reformat regroups", 123, 4, type('4'), {"value 1234", "remove 1 '23'", "insert 1 ',234'", "caret 5"}},
        {"Up", 2, 1, up, {"value 3", "remove 0 '2'", "insert 0 '3'", "caret 0"}},
        {"the spin button", 9, 1, spinButton, {"value 10", "remove 0 '9'", "insert 0 '10'", "caret 0"}},
        {"SetValue", 1, 1, setValue, {"remove 1 '.0'", "insert 1 '2.5'", "caret 0", "value 12.5"}},
        {"a sign the lower bound takes back", 2, 1, type('-'), {"value 0", "remove 0 '2'", "insert 0 '0'", "caret 1"}},
        {"undo",
         0,
         1,
         typeAndUndo,
         {"value 7", "remove 0 '0'", "insert 0 '7'", "caret 1", "value 0", "remove 0 '7'", "insert 0 '0'", "caret 0"}},
    };
    AccessibleEventLog log;
    for (const Case& c : cases) {
        first.SetValue(c.value);
        first.SetCursorPos(c.caret);
        const QString before = first.Text();
        log.Take();
        c.act();
        EXPECT_EQ(log.Events.join(", ").toStdString(), c.told.join(", ").toStdString()) << c.name;
        EXPECT_EQ(AccessibleEventLog::Replay(before, log.Events), first.Text()) << c.name;
    }
}

TEST(ExtSpinEditSurface, DefaultsAndIndexedProperties)
{
    MessageBoxCatcher boxes;
    TVelExtSpinEdit e;
    EXPECT_EQ(e.SpinBtnWidth(), -1);
    EXPECT_EQ(e.SpinBtnColor(), TColor(clBtnFace));
    EXPECT_EQ(e.SpinBtnHotColor(), TColor(8421376));
    EXPECT_EQ(e.SpinBtnColorIdx(2), TColor(clNone));
    EXPECT_TRUE(e.SpinBtnDiag());
    EXPECT_EQ(e.Interval(), 100);
    EXPECT_TRUE(e.SpinButton()->DiagonalMode());
    EXPECT_EQ(e.SpinButton()->Halves(), kSpinUpDown);
    EXPECT_EQ(e.SpinButton()->ThemeMode(), e.ThemeMode());

    e.SetSpinBtnColorIdx(1, TColor(0x0000FF));
    e.SetSpinBtnColorIdx(7, TColor(0x0000FF));
    EXPECT_EQ(e.SpinButton()->HotColor(), TColor(TColor(0x0000FF)));
    EXPECT_EQ(e.SpinButton()->Color(), TColor(clBtnFace));
    e.SetSpinBtnWidthIdx(3, 40);
    EXPECT_EQ(e.SpinBtnWidth(), -1);
    e.SetSpinBtnDiag(false);
    EXPECT_FALSE(e.SpinButton()->DiagonalMode());
    e.SetInterval(50);
    EXPECT_EQ(e.SpinButton()->Interval(), 50);
    e.SetThemeMode(ttmNative);
    EXPECT_EQ(e.SpinButton()->ThemeMode(), ttmNative);
}

TEST(ExtSpinEditSurface, StoredRule)
{
    MessageBoxCatcher boxes;
    TVelExtSpinEdit e;
    const struct {
        const char* name;
        bool stored;
    } fresh[] = {{"Value", true},     {"MinValue", true},      {"MaxValue", true},  {"Step", false},
                 {"Decimals", false}, {"SpinBtnWidth", false}, {"EditType", false}, {"AutoSize", false}};
    for (const auto& c : fresh)
        EXPECT_EQ(e.PropertyStored(QString::fromLatin1(c.name)), c.stored) << c.name;
    e.SetStep(2);
    e.SetSpinBtnWidth(18);
    e.SetEditType(ntFloatNumber);
    for (const char* name : {"Step", "SpinBtnWidth", "EditType"})
        EXPECT_TRUE(e.PropertyStored(QString::fromLatin1(name))) << name;
}

TEST(SpinEditSurface, ConstructionSwitchesAutoSizeAndAutoSelectOn)
{
    MessageBoxCatcher boxes;
    TVelSpinEdit e;
    EXPECT_TRUE(e.AutoSize());
    EXPECT_TRUE(e.AutoSelect());
    EXPECT_TRUE(e.PropertyStored("AutoSelect"));
    EXPECT_FALSE(e.PropertyStored("AutoSize"));
    EXPECT_FALSE(e.PropertyStored("BorderStyle"));
    EXPECT_EQ(e.IntProp(5), 0);
}

TEST(SpinEditSurface, LegacyBorderStyle)
{
    MessageBoxCatcher boxes;
    const struct {
        const char* ident;
        TVelBevelMode mode;
    } cases[] = {{"bsSingle", bmWindows}, {"bsNone", bmStandard}};
    for (const auto& c : cases) {
        TVelSpinEdit e;
        e.BeginLoading();
        e.ReadBorderStyle(QString::fromLatin1(c.ident));
        e.Loaded();
        EXPECT_EQ(e.Bevel()->Mode(), c.mode) << c.ident;
        if (c.mode == bmStandard) {
            EXPECT_EQ(e.Bevel()->StandardStyle(), lsNone);
            EXPECT_EQ(e.InnerRect(), e.ClientRect()) << "no bevel";
        }
    }
}

} // namespace
