// What a blind user hears of the results without moving, and what a screen reader finds in the
// window: the result lines in one group, the current result as every input's description.
#include <QAccessible>
#include <QApplication>
#include <QRadioButton>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

#include "ActiveFormTest.h"
#include "Main.h"
#include "VelAnnouncement.h"
#include "VelExtSpinEdit.h"
#include "VelSpinEdit.h"

namespace {

class ResultAnnouncement : public ActiveFormTest {
protected:
    void SetUp() override
    {
        ActiveFormTest::SetUp();
        previous_ = SetVelAnnouncementHook([this](QAccessibleInterface* source, const QString& text) {
            said_ << (source->object() == QApplication::focusWidget() ? text : "(not the focus) " + text);
        });
    }
    void TearDown() override { SetVelAnnouncementHook(previous_); }

    // What was said once the events of the last step were handled.
    QStringList Said()
    {
        QCoreApplication::processEvents();
        return std::exchange(said_, {});
    }

private:
    TVelAnnouncementHook previous_;
    QStringList said_;
};

TEST_F(ResultAnnouncement, ChangedResultLinesAreSaidOnceThroughTheFocusCalculatedFirst)
{
    const struct {
        const char* step;
        std::function<void(TForm1&)> act;
        QStringList said;
    } steps[] = {
        {"a resistance that leaves the voltage at 0", [this](TForm1& f) { SelectAllAndType(f.Resistance, "2"); }, {}},
        {"a typed amperage, its own line left out",
         [this](TForm1& f) { SelectAllAndType(f.Amp, "3"); },
         {"Voltage = 6 Volts"}},
        {"a step", [](TForm1& f) { QTest::keyClick(f.Amp, Qt::Key_Up); }, {"Voltage = 8 Volts"}},
        {"the same value typed again", [this](TForm1& f) { SelectAllAndType(f.Amp, "4"); }, {}},
        {"more decimals", [this](TForm1& f) { SelectAllAndType(f.DecimalR, "2"); }, {}},
        {"an amperage with two decimals",
         [this](TForm1& f) { SelectAllAndType(f.Amp, "1.26"); },
         {"Voltage = 2.52 Volts"}},
        {"fewer decimals cut the amperage",
         [this](TForm1& f) { SelectAllAndType(f.DecimalR, "1"); },
         {"Voltage = 2.4 Volts, Amperage = 1.2 Amps"}},
        {"Store",
         [](TForm1& f) { QTest::mouseClick(f.StoreBB, Qt::LeftButton); },
         {"Stored in row 1: Voltage 2.4, Amperage 1.2, Resistance 2"}},
        {"Store again",
         [](TForm1& f) { QTest::mouseClick(f.StoreBB, Qt::LeftButton); },
         {"Stored in row 2: Voltage 2.4, Amperage 1.2, Resistance 2"}},
        {"Delete", [](TForm1& f) { QTest::mouseClick(f.DeleteBB, Qt::LeftButton); }, {"Deleted row 1, 1 row left"}},
        {"the last Delete",
         [](TForm1& f) { QTest::mouseClick(f.DeleteBB, Qt::LeftButton); },
         {"Deleted row 1, no rows left"}},
        {"Delete on an empty table", [](TForm1& f) { QTest::mouseClick(f.DeleteBB, Qt::LeftButton); }, {}},
        {"a mode change, the new calculated line first",
         [](TForm1& f) { QTest::mouseClick(f.RadioGroup1->Button(1), Qt::LeftButton); },
         {"Amperage = 0 Amp, Voltage = 0 Volt"}},
        {"nothing to divide by", [this](TForm1& f) { SelectAllAndType(f.Resistance, "0"); }, {}},
        {"Store that stores nothing", [](TForm1& f) { QTest::mouseClick(f.StoreBB, Qt::LeftButton); }, {}},
    };
    for (const auto& s : steps) {
        s.act(*form);
        EXPECT_EQ(Said().join(" | ").toStdString(), s.said.join(" | ").toStdString()) << s.step;
    }
}

TEST_F(ResultAnnouncement, ResultLinesFormOneGroupNamedResults)
{
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form.get());
    QAccessibleInterface* group = QAccessible::queryAccessibleInterface(form->Bevel3);
    ASSERT_TRUE(window && group);
    EXPECT_EQ(group->role(), QAccessible::Grouping);
    EXPECT_EQ(group->text(QAccessible::Name), "Results");
    EXPECT_EQ(group->parent(), window);
    EXPECT_GE(window->indexOfChild(group), 0);
    ASSERT_EQ(group->childCount(), 3);
    int i = 0;
    for (TLabel* label : {form->Label6, form->Label7, form->Label8}) {
        QAccessibleInterface* line = group->child(i);
        ASSERT_TRUE(line);
        EXPECT_EQ(line->object(), label);
        EXPECT_EQ(line->text(QAccessible::Name), label->text());
        EXPECT_EQ(line->parent(), group) << i;
        EXPECT_EQ(group->indexOfChild(line), i);
        EXPECT_EQ(window->indexOfChild(line), -1) << "listed once, in its group";
        ++i;
    }
    for (int c = 0; c < window->childCount(); ++c)
        EXPECT_EQ(window->indexOfChild(window->child(c)), c);
}

TEST_F(ResultAnnouncement, EveryInputIsDescribedByTheCurrentResult)
{
    SelectAllAndType(form->Resistance, "2");
    SelectAllAndType(form->Amp, "3");
    for (QWidget* input : std::initializer_list<QWidget*>{form->Volt, form->Amp, form->Resistance, form->DecimalR})
        EXPECT_EQ(QAccessible::queryAccessibleInterface(input)->text(QAccessible::Description).toStdString(),
                  "Voltage = 6 Volts, Amperage = 3 Amps, Resistance = 2 Ohms")
            << input->objectName().toStdString();
}

} // namespace
