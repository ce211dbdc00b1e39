// A locale that groups digits with a blank: the number shows the locale's own blank, a number
// pasted from a program that writes another blank keeps its value, and what is copied out reads
// back in Qt's reader of the locale.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLocale>
#include <QTest>
#include <memory>

#include "ScopedFormat.h"
#include "SpinEditProbe.h"
#include "VelClass.h"
#include "VelExtSpinEdit.h"

namespace {

const QLocale French(QLocale::French, QLocale::France);

class ThousandSeparatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        VelApplication()->SetKeyboardState(ksInsertMode);
        edit = std::make_unique<TVelExtSpinEdit>();
        edit->BeginLoading();
        edit->SetEditType(ntFloatNumber);
        edit->SetMaxValue(1e7);
        edit->SetDecimals(1);
        edit->Loaded();
        edit->resize(200, 24);
        edit->show();
    }

    void Paste(const QString& Text)
    {
        QGuiApplication::clipboard()->setText(Text);
        QTest::keyClick(edit.get(), Qt::Key_Insert, Qt::ShiftModifier);
    }

    ScopedFormat format{FormatSettingsFromLocale(French)};
    MessageBoxCatcher boxes;
    std::unique_ptr<TVelExtSpinEdit> edit;
};

} // namespace

TEST_F(ThousandSeparatorTest, PastedNumbersKeepTheirValueWhicheverBlankGroupsThem)
{
    ASSERT_EQ(FormatSettings().ThousandSeparator, QChar(0x202F)) << "the locale's own separator";
    const struct {
        const char* name;
        QString pasted;
        double value;
    } rows[] = {
        {"narrow no-break space", QString::fromUtf16(u"1\u202F234,5"), 1234.5},
        {"no-break space", QString::fromUtf16(u"1\u00A0234,5"), 1234.5},
        {"space", QStringLiteral("1 234,5"), 1234.5},
        {"mixed", QString::fromUtf16(u"1\u00A0234\u202F567,8"), 1234567.8},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        edit->SetValue(0);
        edit->SelectAll();
        Paste(row.pasted);
        EXPECT_EQ(edit->Value(), row.value);
        EXPECT_EQ(edit->Text(), French.toString(row.value, 'f', 1));
        edit->SelectAll();
        QTest::keyClick(edit.get(), Qt::Key_C, Qt::ControlModifier);
        bool ok = false;
        EXPECT_EQ(French.toDouble(QGuiApplication::clipboard()->text(), &ok), row.value);
        EXPECT_TRUE(ok);
    }
    EXPECT_TRUE(boxes.Shown.empty());
}

// The regrouping after a paste counts the pasted blanks as separators, so the caret stays in front
// of the digit it stood before.
TEST_F(ThousandSeparatorTest, CaretStaysBeforeTheSeparatorAfterAPasteWithAnotherBlank)
{
    edit->SetValue(1234);
    edit->Perform(EM_SETSEL, 2, 5);
    ASSERT_EQ(edit->SelText(), QStringLiteral("234"));
    Paste(QString::fromUtf16(u"5\u00A0678"));
    EXPECT_EQ(edit->Text(), QString::fromUtf16(u"15\u202F678,0"));
    EXPECT_EQ(edit->CursorPos(), 7) << "before the decimal separator";
}
