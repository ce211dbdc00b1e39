// The window's spin edits as their stored description sets them: the window's own edit border,
// a caret blinking at 530 ms, and the caption each screen reader names them by.
#include <QAccessible>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "ApplicationTestSupport.h"
#include "FormControls.h"
#include "Main.h"
#include "VelExtSpinEdit.h"
#include "VelSpinEdit.h"
#include "VelSysColors.h"
#include "VelSystemCaret.h"

namespace {

class SpinEditLookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitPictures();
        VelSetCaretBlinkTime(250);
        form = std::make_unique<TForm1>(nullptr, [](const QString&, QObject*) {});
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void TearDown() override
    {
        form.reset();
        VelSetCaretBlinkTime(250);
    }

    std::unique_ptr<TForm1> form;
};

TEST_F(SpinEditLookTest, EachEditIsNamedByItsCaptionAndBlinksAt530WhileFocused)
{
    struct Case {
        TVelBaseEdit* edit;
        const char* caption;
    };
    const Case cases[] = {
        {form->Volt, "Voltage"},
        {form->Amp, "Amperage"},
        {form->Resistance, "Resistance"},
        {form->DecimalR, "Decimal Required"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.edit->Bevel()->Mode(), bmWindows) << c.caption;
        EXPECT_EQ(c.edit->Caret()->BlinkRate(), 530) << c.caption;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(c.edit);
        ASSERT_NE(iface, nullptr);
        EXPECT_EQ(iface->text(QAccessible::Name), QString::fromLatin1(c.caption));
    }
    form->Amp->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(VelGetCaretBlinkTime(), 530u);
    form->StoreBB->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(VelGetCaretBlinkTime(), 250u);
}

TEST_F(SpinEditLookTest, TheFocusedEditShowsTheSunkenClientEdge)
{
    form->Amp->setFocus(Qt::TabFocusReason);
    const QImage image = form->Amp->grab().toImage();
    const QPalette& p = form->Amp->palette();
    const int w = form->Amp->width(), h = form->Amp->height();
    const int x = 40, y = h / 2;
    EXPECT_EQ(image.pixel(x, 0), VelColorToQColor(clBtnShadow, p).rgb());
    EXPECT_EQ(image.pixel(x, 1), VelColorToQColor(cl3DDkShadow, p).rgb());
    EXPECT_EQ(image.pixel(x, h - 1), VelColorToQColor(clBtnHighlight, p).rgb());
    EXPECT_EQ(image.pixel(x, h - 2), VelColorToQColor(cl3DLight, p).rgb());
    EXPECT_EQ(image.pixel(0, y), VelColorToQColor(clBtnShadow, p).rgb());
    EXPECT_EQ(image.pixel(1, y), VelColorToQColor(cl3DDkShadow, p).rgb());
    EXPECT_EQ(image.pixel(w - 1, y), VelColorToQColor(clBtnHighlight, p).rgb());
    EXPECT_EQ(image.pixel(x, 2), VelColorToQColor(clWindow, p).rgb());
}

} // namespace
