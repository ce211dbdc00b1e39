// A long run of random user operations on the calculator's window through real events: typing
// and stepping in the inputs, mode switches, decimals, Store, Delete, focus changes and now and
// then an export into a temporary folder, compared byte for byte with the table. After every
// operation the three labels must agree with Ohm's law within the precision they print.
//
// VELORIN_SOAK_OPS sets the number of operations (default: about twenty seconds' worth),
// VELORIN_SOAK_SEED the random seed (default fixed, so a failure repeats).
#include <QFile>
#include <QKeyEvent>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <optional>
#include <random>

#include "ApplicationTestSupport.h"
#include "DelimitedText.h"
#include "Export.h"
#include "FloatToText.h"
#include "FormatSettings.h"
#include "Main.h"
#include "SaveDialog.h"
#include "StringGrid.h"
#include "VelExtSpinEdit.h"
#include "VelSpinEdit.h"

namespace {

long EnvNumber(const char* name, long fallback)
{
    const QByteArray v = qgetenv(name);
    bool ok = false;
    const long n = v.toLong(&ok);
    return ok && n >= 0 ? n : fallback;
}

struct LabelReading {
    double Value = 0;
    bool Plural = false;
};

// "Voltage = 6.6 Volts" read back: the number in C form and which unit word it carries.
std::optional<LabelReading> ReadLabel(const QString& text, const QString& prefix, const QString& unit)
{
    if (!text.startsWith(prefix))
        return std::nullopt;
    LabelReading r;
    QString number;
    if (text.endsWith(QLatin1Char(' ') + unit + QLatin1Char('s'))) {
        r.Plural = true;
        number = text.mid(prefix.size(), text.size() - prefix.size() - unit.size() - 2);
    } else if (text.endsWith(QLatin1Char(' ') + unit)) {
        number = text.mid(prefix.size(), text.size() - prefix.size() - unit.size() - 1);
    } else {
        return std::nullopt;
    }
    number.replace(FormatSettings().DecimalSeparator, QLatin1Char('.'));
    const QByteArray ascii = number.toLatin1();
    char* end = nullptr;
    r.Value = std::strtod(ascii.constData(), &end);
    if (ascii.isEmpty() || end != ascii.constData() + ascii.size())
        return std::nullopt;
    return r;
}

class SoakTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        InitPictures();
        form = std::make_unique<TForm1>();
        form->show();
        TSaveDialog::ExecuteHook = [this](TSaveDialog& d) {
            d.SetFileName(dir.filePath(QStringLiteral("Results%1.csv").arg(exports % 3)));
            return true;
        };
        ExportHooks::ConfirmOverwrite = [](QWidget*, const QString&) { return true; };
    }
    void TearDown() override
    {
        TSaveDialog::ExecuteHook = nullptr;
        ExportHooks::ConfirmOverwrite = nullptr;
    }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    TVelExtSpinEdit* VisibleInput()
    {
        TVelExtSpinEdit* inputs[] = {form->Volt, form->Amp, form->Resistance};
        for (;;) {
            TVelExtSpinEdit* e = inputs[Pick(3)];
            if (e->isVisible())
                return e;
        }
    }

    static void Key(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, mods, text);
        QCoreApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, mods, text);
        QCoreApplication::sendEvent(w, &release);
    }

    void Type(QWidget* w)
    {
        static const char kChars[] = "0123456789012345678900..-,";
        QChar c = QLatin1Char(kChars[Pick(int(sizeof kChars) - 1)]);
        if (c == QLatin1Char('.'))
            c = FormatSettings().DecimalSeparator;
        Key(w, c.isDigit() ? Qt::Key_0 + (c.unicode() - '0') : 0, Qt::NoModifier, QString(c));
    }

    void EditKey(QWidget* w)
    {
        static const int kKeys[] = {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Home, Qt::Key_End,
                                    Qt::Key_Left,      Qt::Key_Right,  Qt::Key_A};
        const int key = kKeys[Pick(int(std::size(kKeys)))];
        Qt::KeyboardModifiers mods;
        if (key == Qt::Key_A || Pick(4) == 0)
            mods |= Qt::ControlModifier;
        if (Pick(4) == 0)
            mods |= Qt::ShiftModifier;
        Key(w, key, mods, key == Qt::Key_Backspace ? QStringLiteral("\b") : QString());
    }

    void Step(QWidget* w)
    {
        static const int kKeys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown};
        if (Pick(3) == 0) {
            const QPointF at(w->width() / 2.0, w->height() / 2.0);
            QWheelEvent wheel(at, w->mapToGlobal(at), QPoint(), QPoint(0, Pick(2) ? 120 : -120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(w, &wheel);
        } else {
            Key(w, kKeys[Pick(4)]);
        }
    }

    void FocusOut(QWidget* w)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(w, &out);
        QCoreApplication::sendPostedEvents();
    }

    void Export()
    {
        ++exports;
        const QString path = dir.filePath(QStringLiteral("Results%1.csv").arg(exports % 3));
        QTest::mouseClick(form->ExportBB, Qt::LeftButton);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        QByteArray expected;
        const StringGrid& grid = *form->ResultSG;
        for (int r = 0; r < grid.RowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < 3; ++c)
                cells << grid.Cells(c, r);
            expected += RowToCsvLine(cells).toLocal8Bit() + "\r\n";
        }
        ASSERT_EQ(f.readAll(), expected) << "export " << exports;
    }

    void RunOne()
    {
        const int op = Pick(100);
        if (op < 40) {
            Type(VisibleInput());
        } else if (op < 55) {
            EditKey(VisibleInput());
        } else if (op < 72) {
            Step(VisibleInput());
        } else if (op < 76) {
            QTest::mouseClick(form->RadioGroup1->Button(Pick(3)), Qt::LeftButton);
        } else if (op < 80) {
            Step(form->DecimalR);
        } else if (op < 87) {
            FocusOut(VisibleInput());
        } else if (op < 93) {
            QTest::mouseClick(form->StoreBB, Qt::LeftButton);
        } else if (op < 99) {
            if (form->ResultSG->RowCount() > 2)
                form->ResultSG->SetRow(1 + Pick(form->ResultSG->RowCount() - 2));
            QTest::mouseClick(form->DeleteBB, Qt::LeftButton);
        } else if (Pick(4) == 0) {
            Export();
        }
    }

    // The labels say V = A x R to the fifteen digits they print; the inputs not calculated show
    // their own values; the unit word is plural exactly above 1.
    void CheckLabels(long step)
    {
        const auto v = ReadLabel(form->Label6->text(), QStringLiteral("Voltage = "), QStringLiteral("Volt"));
        const auto a = ReadLabel(form->Label7->text(), QStringLiteral("Amperage = "), QStringLiteral("Amp"));
        const auto r = ReadLabel(form->Label8->text(), QStringLiteral("Resistance = "), QStringLiteral("Ohm"));
        const std::string where = "step " + std::to_string(step) + ": " + form->Label6->text().toStdString() + " | " +
                                  form->Label7->text().toStdString() + " | " + form->Label8->text().toStdString();
        ASSERT_TRUE(v && a && r) << where;
        // The unit word follows the value, not its fifteen printed digits: "1 Amps" is a value
        // just above 1.
        for (const LabelReading& l : {*v, *a, *r}) {
            if (l.Value != 1) {
                ASSERT_EQ(l.Plural, l.Value > 1) << where;
            }
        }

        const double inV = form->Volt->Value(), inA = form->Amp->Value(), inR = form->Resistance->Value();
        if (inA == 0.0 && inR == 0.0) {
            ASSERT_EQ(a->Value, 0.0) << where;
            ASSERT_EQ(r->Value, 0.0) << where;
            ASSERT_EQ(form->Label6->text().section(QLatin1Char(' '), 2, 2), FloatToGeneralText(inV)) << where;
            return;
        }
        const int mode = form->RadioGroup1->ItemIndex();
        const QString shownV = FloatToGeneralText(inV), shownA = FloatToGeneralText(inA),
                      shownR = FloatToGeneralText(inR);
        if (mode != 0) {
            ASSERT_EQ(form->Label6->text().section(QLatin1Char(' '), 2, 2), shownV) << where;
        }
        if (mode != 1) {
            ASSERT_EQ(form->Label7->text().section(QLatin1Char(' '), 2, 2), shownA) << where;
        }
        if (mode != 2) {
            ASSERT_EQ(form->Label8->text().section(QLatin1Char(' '), 2, 2), shownR) << where;
        }
        const TVelExtended product = TVelExtended(a->Value) * r->Value;
        const TVelExtended scale = std::max(TVelExtended(v->Value).Abs(), product.Abs());
        ASSERT_TRUE((v->Value - product).Abs() <= scale * 2e-14) << where;
        ++lawChecks;
    }

    QTemporaryDir dir;
    std::unique_ptr<TForm1> form;
    std::mt19937 random{std::uint32_t(EnvNumber("VELORIN_SOAK_SEED", 13))};
    int exports = 0;
    long lawChecks = 0;
};

TEST_F(SoakTest, RandomOperationsKeepTheLabelsOnOhmsLaw)
{
    const long ops = EnvNumber("VELORIN_SOAK_OPS", 300000);
    for (long step = 0; step < ops; ++step) {
        // Now and then an export, whatever the dice said, so a short run still compares some.
        if (step % 997 == 996)
            Export();
        else
            RunOne();
        if (HasFatalFailure())
            return;
        CheckLabels(step);
        if (HasFatalFailure())
            return;
    }
    RecordProperty("law_checks", int(lawChecks));
    RecordProperty("exports", exports);
    EXPECT_GT(lawChecks, 0);
}

} // namespace
