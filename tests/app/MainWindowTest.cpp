#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

#include "About.h"
#include "ApplicationTestSupport.h"
#include "Main.h"
#include "QtPrinters.h"
#include "ScopedFormat.h"
#include "StringGrid.h"
#include "VelErrors.h"
#include "VelExtSpinEdit.h"
#include "VelSpinEdit.h"
#include "VelorinApplication.h"

namespace {

// The main window as the program builds it, shown offscreen, with every handler call recorded
// as "Handler(SenderName)".
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { Create(); }

    void Create()
    {
        InitPictures();
        calls.clear();
        form = std::make_unique<TForm1>(nullptr, [this](const QString& handler, QObject* Sender) {
            calls.append(handler + QLatin1Char('(') + (Sender ? Sender->objectName() : QString()) + QLatin1Char(')'));
        });
        form->show();
    }

    QStringList Labels() const { return {form->Label6->text(), form->Label7->text(), form->Label8->text()}; }

    // Selects a calculated quantity the way the user does.
    void Choose(int mode) { QTest::mouseClick(form->RadioGroup1->Button(mode), Qt::LeftButton); }

    QStringList Row(int r) const
    {
        return {form->ResultSG->Cells(0, r), form->ResultSG->Cells(1, r), form->ResultSG->Cells(2, r)};
    }

    std::unique_ptr<TForm1> form;
    QStringList calls;
};

TEST_F(MainWindowTest, StartsInVoltageModeWithZeroResultsAndRunsOnlyFormCreate)
{
    EXPECT_EQ(calls, QStringList{QStringLiteral("FormCreate(Form1)")});
    EXPECT_EQ(Labels(), (QStringList{QStringLiteral("Voltage = 0 Volt"), QStringLiteral("Amperage = 0 Amp"),
                                     QStringLiteral("Resistance = 0 Ohm")}));
    EXPECT_EQ(form->RadioGroup1->ItemIndex(), 0);
    EXPECT_TRUE(form->Volt->isHidden());
    EXPECT_FALSE(form->Amp->isHidden());
    EXPECT_FALSE(form->Resistance->isHidden());
    EXPECT_EQ(form->Amp->Text(), QStringLiteral("0.0"));
    EXPECT_EQ(form->Resistance->Text(), QStringLiteral("0.0"));
    EXPECT_EQ(form->DecimalR->Value(), 1);

    EXPECT_EQ(form->ResultSG->RowCount(), 2);
    EXPECT_EQ(Row(0),
              (QStringList{QStringLiteral("Voltage"), QStringLiteral("Amperage"), QStringLiteral("Resistance")}));
    EXPECT_EQ(Row(1), (QStringList{QString(), QString(), QString()}));
}

TEST_F(MainWindowTest, ResultLabelsGrowWithTheirText)
{
    form->Amp->SetValue(123456.7);
    form->Resistance->SetValue(999999.9);
    for (TLabel* label : {form->Label6, form->Label7, form->Label8})
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
}

TEST_F(MainWindowTest, TabOrderFollowsTheDescription)
{
    const QList<QWidget*> expected = {form->RadioGroup1, form->ResultSG, form->StoreBB,    form->DeleteBB,
                                      form->Volt,        form->Amp,      form->Resistance, form->ExportBB,
                                      form->PrintBB,     form->AboutBB,  form->ExitBB,     form->DecimalR};
    QList<QWidget*> seen;
    QWidget* w = form->RadioGroup1;
    do {
        if (expected.contains(w) && !seen.contains(w))
            seen.append(w);
        w = w->nextInFocusChain();
    } while (w != form->RadioGroup1 && seen.size() < expected.size());
    EXPECT_EQ(seen, expected);
}

TEST_F(MainWindowTest, TheFormulaPictureIsAOneBitBitmap)
{
    const QImage formula(QStringLiteral(":/pictures/formula.bmp"));
    EXPECT_EQ(formula.size(), QSize(201, 194));
    EXPECT_EQ(formula.depth(), 1);
    EXPECT_EQ(form->Image1->Picture().size(), QSize(201, 194));
}

struct LabelCase {
    QChar decimal;
    int mode;
    double v, a, r;
    const char* voltage;
    const char* amperage;
    const char* resistance;
};

[[maybe_unused]] void PrintTo(const LabelCase& c, std::ostream* os)
{
    *os << "mode " << c.mode << " '" << c.decimal.toLatin1() << "' -> " << c.voltage << " | " << c.amperage << " | "
        << c.resistance;
}

class MainWindowLabelTest : public MainWindowTest, public ::testing::WithParamInterface<LabelCase> {
protected:
    void SetUp() override
    {
        format.emplace(GetParam().decimal,
                       GetParam().decimal == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(','));
        MainWindowTest::SetUp();
    }
    std::optional<ScopedFormat> format;
};

TEST_P(MainWindowLabelTest, ShowTheThreeValuesWithTheSingularUpToOne)
{
    const LabelCase& c = GetParam();
    form->DecimalR->SetValue(10);
    if (c.mode != 0)
        Choose(c.mode);
    if (c.mode != 0)
        form->Volt->SetValue(c.v);
    if (c.mode != 1)
        form->Amp->SetValue(c.a);
    if (c.mode != 2)
        form->Resistance->SetValue(c.r);

    EXPECT_EQ(Labels(), (QStringList{QString::fromUtf8(c.voltage), QString::fromUtf8(c.amperage),
                                     QString::fromUtf8(c.resistance)}));
}

const QChar kDot = QLatin1Char('.'), kComma = QLatin1Char(',');

INSTANTIATE_TEST_SUITE_P(
    Calculations, MainWindowLabelTest,
    ::testing::Values(
        LabelCase{kDot, 0, 0, 2, 3.3, "Voltage = 6.6 Volts", "Amperage = 2 Amps", "Resistance = 3.3 Ohms"},
        LabelCase{kDot, 1, 230, 0, 1000, "Voltage = 230 Volts", "Amperage = 0.23 Amp", "Resistance = 1000 Ohms"},
        LabelCase{kDot, 1, 1, 0, 3, "Voltage = 1 Volt", "Amperage = 0.333333333333333 Amp", "Resistance = 3 Ohms"},
        LabelCase{kDot, 0, 0, 1, 1, "Voltage = 1 Volt", "Amperage = 1 Amp", "Resistance = 1 Ohm"},
        LabelCase{kDot, 0, 0, 0.5, 0, "Voltage = 0 Volt", "Amperage = 0.5 Amp", "Resistance = 0 Ohm"},
        LabelCase{kDot, 2, 1000000, 0.0000000001, 0, "Voltage = 1000000 Volts", "Amperage = 1E-10 Amp",
                  "Resistance = 1E16 Ohms"},
        LabelCase{kDot, 1, 0.0001, 0, 1000000, "Voltage = 0.0001 Volt", "Amperage = 1E-10 Amp",
                  "Resistance = 1000000 Ohms"},
        LabelCase{kDot, 2, 1.000001, 1, 0, "Voltage = 1.000001 Volts", "Amperage = 1 Amp",
                  "Resistance = 1.000001 Ohms"},
        LabelCase{kComma, 0, 0, 1.5, 1, "Voltage = 1,5 Volts", "Amperage = 1,5 Amps", "Resistance = 1 Ohm"},
        LabelCase{kComma, 1, 1, 0, 3, "Voltage = 1 Volt", "Amperage = 0,333333333333333 Amp", "Resistance = 3 Ohms"}));

TEST_F(MainWindowTest, WithoutADivisorTheVoltageLabelStillFollowsTheVoltageInput)
{
    Choose(1);
    form->Volt->SetValue(230);
    form->Resistance->SetValue(1000);
    ASSERT_EQ(form->Label6->text(), QStringLiteral("Voltage = 230 Volts"));

    form->Resistance->SetValue(0);
    EXPECT_EQ(Labels(), (QStringList{QStringLiteral("Voltage = 230 Volts"), QStringLiteral("Amperage = 0 Amp"),
                                     QStringLiteral("Resistance = 0 Ohm")}));

    form->Volt->SetValue(12);
    EXPECT_EQ(Labels(), (QStringList{QStringLiteral("Voltage = 12 Volts"), QStringLiteral("Amperage = 0 Amp"),
                                     QStringLiteral("Resistance = 0 Ohm")}));
    form->Volt->SetValue(0.5);
    EXPECT_EQ(form->Label6->text(), QStringLiteral("Voltage = 0.5 Volt"));
}

TEST_F(MainWindowTest, SwitchingModesHidesAndZeroesTheCalculatedInput)
{
    form->Amp->SetValue(2);
    form->Resistance->SetValue(3);
    calls.clear();

    Choose(1);
    EXPECT_EQ(calls,
              (QStringList{QStringLiteral("RadioGroup1Click(RadioGroup1)"), QStringLiteral("Calculation(Amp)")}));
    EXPECT_FALSE(form->Volt->isHidden());
    EXPECT_EQ(form->Volt->Text(), QStringLiteral("0.0"));
    EXPECT_TRUE(form->Amp->isHidden());
    EXPECT_EQ(form->Amp->Value(), 0.0);
    EXPECT_FALSE(form->Resistance->isHidden());
    EXPECT_EQ(form->Resistance->Value(), 3.0);
    // The calculation raised by the reset already ran in the new mode.
    EXPECT_EQ(form->Label7->text(), QStringLiteral("Amperage = 0 Amp"));

    form->Volt->SetValue(12);
    EXPECT_EQ(form->Label7->text(), QStringLiteral("Amperage = 4 Amps"));

    calls.clear();
    Choose(0);
    EXPECT_EQ(calls,
              (QStringList{QStringLiteral("RadioGroup1Click(RadioGroup1)"), QStringLiteral("Calculation(Volt)")}));
    EXPECT_TRUE(form->Volt->isHidden());
    EXPECT_EQ(form->Volt->Value(), 0.0);
    EXPECT_FALSE(form->Amp->isHidden());

    Choose(2);
    EXPECT_TRUE(form->Resistance->isHidden());
    EXPECT_EQ(form->Resistance->Value(), 0.0);
    EXPECT_FALSE(form->Volt->isHidden());
    EXPECT_FALSE(form->Amp->isHidden());
}

TEST_F(MainWindowTest, ChoosingTheSelectedQuantityAgainRunsNothing)
{
    Choose(0);
    EXPECT_EQ(calls, QStringList{QStringLiteral("FormCreate(Form1)")});
}

TEST_F(MainWindowTest, DecimalsApplyToAllThreeInputsHiddenOnesIncluded)
{
    form->Amp->SetValue(1.25);
    form->DecimalR->SetValue(0);
    EXPECT_EQ(form->Volt->Decimals(), 0);
    EXPECT_EQ(form->Volt->Text(), QStringLiteral("0"));
    EXPECT_EQ(form->Resistance->Text(), QStringLiteral("0"));

    form->DecimalR->SetValue(10);
    EXPECT_EQ(form->Volt->Text(), QStringLiteral("0.0000000000"));
    EXPECT_EQ(form->Resistance->Text(), QStringLiteral("0.0000000000"));
    EXPECT_EQ(form->Amp->Decimals(), 10);
    EXPECT_TRUE(calls.contains(QStringLiteral("DecimalRChange(DecimalR)")));
}

TEST_F(MainWindowTest, StoreAppendsTheCalculationAndDeleteRemovesTheCurrentRow)
{
    const double pairs[][2] = {{1, 2}, {2, 3}, {3, 4}};
    for (const auto& p : pairs) {
        form->Amp->SetValue(p[0]);
        form->Resistance->SetValue(p[1]);
        QTest::mouseClick(form->StoreBB, Qt::LeftButton);
    }
    EXPECT_EQ(calls.last(), QStringLiteral("Calculation(StoreBB)"));
    ASSERT_EQ(form->ResultSG->RowCount(), 5);
    EXPECT_EQ(Row(1), (QStringList{"2", "1", "2"}));
    EXPECT_EQ(Row(2), (QStringList{"6", "2", "3"}));
    EXPECT_EQ(Row(3), (QStringList{"12", "3", "4"}));
    EXPECT_EQ(Row(4), (QStringList{"", "", ""}));

    QTest::mouseClick(form->DeleteBB, Qt::LeftButton);
    ASSERT_EQ(form->ResultSG->RowCount(), 4);
    EXPECT_EQ(Row(1), (QStringList{"6", "2", "3"}));
    EXPECT_EQ(Row(2), (QStringList{"12", "3", "4"}));
}

TEST_F(MainWindowTest, OnlyTheStoreButtonStoresAndNeverWithoutADivisor)
{
    form->Amp->SetValue(2);
    form->Resistance->SetValue(3);
    form->Calculation(form->Amp);
    EXPECT_EQ(form->ResultSG->RowCount(), 2);

    form->Amp->SetValue(0);
    form->Resistance->SetValue(0);
    QTest::mouseClick(form->StoreBB, Qt::LeftButton);
    EXPECT_EQ(form->ResultSG->RowCount(), 2);
}

TEST_F(MainWindowTest, StoredRowsKeepTheSeparatorTheyWereStoredWith)
{
    {
        ScopedFormat comma(QLatin1Char(','), QLatin1Char('.'));
        form->Amp->SetValue(1.5);
        form->Resistance->SetValue(1);
        QTest::mouseClick(form->StoreBB, Qt::LeftButton);
    }
    form->Resistance->SetValue(2);
    EXPECT_EQ(Row(1), (QStringList{"1,5", "1,5", "1"}));
    EXPECT_EQ(form->Label6->text(), QStringLiteral("Voltage = 3 Volts"));
}

TEST_F(MainWindowTest, ExitClosesTheWindow)
{
    QTest::mouseClick(form->ExitBB, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(calls.last(), QStringLiteral("ExitBBClick(ExitBB)"));
}

TEST_F(MainWindowTest, AboutShowsOneModelessBox)
{
    auto* box = new TAboutBox(form.get());
    AboutBox = box;
    QTest::mouseClick(form->AboutBB, Qt::LeftButton);
    QTest::mouseClick(form->AboutBB, Qt::LeftButton);
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(form->findChildren<TAboutBox*>().size(), 1);
    AboutBox = nullptr;
}

TEST_F(MainWindowTest, ADivisionByZeroReachesTheErrorBoxAndChangesNothing)
{
    QStringList texts;
    const TErrorBox previous = SetErrorBox([&](const QString&, const QString& text) { texts.append(text); });
    Choose(1);
    form->Volt->SetValue(1);
    // Only a broken invariant lets the division through: an amperage while it is calculated.
    const TNotifyEvent calculation = form->Amp->OnChange;
    form->Amp->OnChange = nullptr;
    form->Amp->SetValue(5);
    form->Amp->OnChange = calculation;
    const QStringList before = Labels();

    DeliverGuarded(
        [&] {
            form->Calculation(form->StoreBB);
            return true;
        },
        QStringLiteral("Velorin"));

    EXPECT_EQ(texts, QStringList{QStringLiteral("Floating point division by zero.")});
    EXPECT_EQ(Labels(), before);
    EXPECT_EQ(form->ResultSG->RowCount(), 2);
    SetErrorBox(previous);
}

struct SolveCase {
    int mode;
    TOhmValues in;
    TOhmValues out;
};

[[maybe_unused]] void PrintTo(const SolveCase& c, std::ostream* os)
{
    *os << "mode " << c.mode << " V " << c.in.V << " A " << c.in.A << " R " << c.in.R;
}

class SolveOhmTest : public ::testing::TestWithParam<SolveCase> {};

TEST_P(SolveOhmTest, ComputesOnlyTheSelectedQuantity)
{
    const SolveCase& c = GetParam();
    const TOhmValues out = SolveOhm(c.mode, c.in);
    EXPECT_DOUBLE_EQ(out.V, c.out.V);
    EXPECT_DOUBLE_EQ(out.A, c.out.A);
    EXPECT_DOUBLE_EQ(out.R, c.out.R);
}

INSTANTIATE_TEST_SUITE_P(Modes, SolveOhmTest,
                         ::testing::Values(SolveCase{0, {9, 2, 3.3}, {6.6, 2, 3.3}},
                                           SolveCase{1, {230, 9, 1000}, {230, 0.23, 1000}},
                                           SolveCase{2, {1e6, 1e-10, 9}, {1e6, 1e-10, 1e16}},
                                           SolveCase{-1, {1, 2, 3}, {1, 2, 3}}, SolveCase{3, {1, 2, 3}, {1, 2, 3}}));

TEST(SolveOhm, AZeroDivisorIsAMathErrorNotAnInfinity)
{
    const struct {
        int mode;
        TOhmValues in;
        const char* message;
    } cases[] = {
        {1, {5, 0, 0}, "Floating point division by zero"},
        {2, {5, 0, 0}, "Floating point division by zero"},
        {1, {0, 0, 0}, "Invalid floating point operation"},
    };
    for (const auto& c : cases) {
        try {
            SolveOhm(c.mode, c.in);
            ADD_FAILURE() << "mode " << c.mode << " did not fail";
        } catch (const EVelMathError& e) {
            EXPECT_EQ(e.Message(), QString::fromLatin1(c.message)) << "mode " << c.mode;
        }
    }
}

} // namespace

namespace {

class RadioGroupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        group.resize(441, 105);
        group.SetItems({QStringLiteral("Voltage"), QStringLiteral("Amperage"), QStringLiteral("Resistance")});
        group.SetItemIndex(0);
        group.OnClick = [this](QObject* Sender) { clicks.append(static_cast<TRadioGroup*>(Sender)->ItemIndex()); };
        group.show();
    }

    TRadioGroup group;
    QList<int> clicks;
};

TEST_F(RadioGroupTest, ReportsSelectionsByMouseAndKeyboardButNotAssignments)
{
    QTest::mouseClick(group.Button(2), Qt::LeftButton);
    EXPECT_EQ(group.ItemIndex(), 2);

    group.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&group));
    group.Button(2)->setFocus();
    QTest::keyClick(group.Button(2), Qt::Key_Up);
    EXPECT_EQ(group.ItemIndex(), 1);
    EXPECT_TRUE(group.Button(1)->isChecked());

    group.SetItemIndex(0);
    EXPECT_TRUE(group.Button(0)->isChecked());
    EXPECT_EQ(clicks, (QList<int>{2, 1}));
}

TEST_F(RadioGroupTest, MinusOneSelectsNothing)
{
    group.SetItemIndex(-1);
    EXPECT_EQ(group.ItemIndex(), -1);
    for (int i = 0; i < group.Count(); ++i)
        EXPECT_FALSE(group.Button(i)->isChecked()) << i;
}

} // namespace
