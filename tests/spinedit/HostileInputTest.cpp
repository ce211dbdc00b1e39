// Hostile pastes into every edit kind: a megabyte of text, NUL and other controls, lone
// surrogates, CR/LF pairs and right-to-left text. Nothing may crash or hang, caret and selection
// stay inside the text, and a number edit ends on a number that reads back as its Value within
// its bounds.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <functional>
#include <memory>

#include "ScopedFormat.h"
#include "SpinEditProbe.h"
#include "VelClass.h"
#include "VelCurrencySettings.h"
#include "VelCustomEdit.h"
#include "VelExtSpinEdit.h"
#include "VelNumberText.h"
#include "VelSpinEdit.h"

namespace {

struct Hostile {
    const char* Name;
    std::function<QString()> Make;
};

QString Repeated(const QString& piece, int totalUnits)
{
    QString s;
    s.reserve(totalUnits);
    while (s.size() < totalUnits)
        s += piece;
    s.truncate(totalUnits);
    return s;
}

const QChar kControls[] = {u'1',  u'\0',       u' ',        u'2',        QChar(1),    QChar(7), u'\b',
                           u'\t', QChar(0x0B), QChar(0x0C), QChar(0x1B), QChar(0x7F), u'3',     u'\0'};
const QChar kSurrogates[] = {QChar(0xD800), u'5', QChar(0xDC00), u'6', QChar(0xDBFF)};

const Hostile kTexts[] = {
    {"megabyte_of_letters", [] { return Repeated(QStringLiteral("lorem ipsum "), 1 << 20); }},
    {"megabyte_of_digits", [] { return Repeated(QStringLiteral("1234567890"), 1 << 20); }},
    {"controls_and_nul", [] { return QString(kControls, qsizetype(std::size(kControls))); }},
    {"lone_surrogates", [] { return QString(kSurrogates, qsizetype(std::size(kSurrogates))); }},
    {"crlf_pairs", [] { return QStringLiteral("7\r\n8\r\n\r\n9\n\r"); }},
    {"right_to_left", [] { return QString::fromUtf16(u"\u202E12\u05D0\u05D1 \u0661\u0662\u200F3\u202C"); }},
    {"number_with_junk", [] { return QStringLiteral("-1,234.5e9\u00A0V"); }},
};

enum Kind { kPlain, kInteger, kFloat, kFixed, kNumber, kCurrency, kSpinEdit };
const char* const kKindNames[] = {"plain", "integer", "float", "fixed", "number", "currency", "spinedit"};

void PrintTo(Kind K, std::ostream* Os)
{
    *Os << kKindNames[K];
}

std::unique_ptr<TVelBaseEdit> MakeEdit(Kind kind)
{
    if (kind == kPlain)
        return std::make_unique<TVelCustomEdit>();
    TVelCustomExtSpinEdit* e =
        kind == kSpinEdit ? static_cast<TVelCustomExtSpinEdit*>(new TVelSpinEdit) : new TVelExtSpinEdit;
    std::unique_ptr<TVelBaseEdit> owner(e);
    e->BeginLoading();
    if (kind != kSpinEdit)
        e->SetEditType(TVelNumberType(kind - kInteger));
    e->SetBoundIdx(2, 1000000.0);
    e->SetDecimals(2);
    e->Loaded();
    return owner;
}

// What the edit's own reader of its kind makes of its text.
std::optional<double> ReadBack(const TVelCustomExtSpinEdit& e)
{
    const TFormatSettings& fs = FormatSettings();
    switch (e.EditType()) {
    case ntInteger: {
        const TVelIntegerRead r = ReadIntegerText(e.TextWithoutSuffix());
        return r.Failed ? std::nullopt : std::optional<double>(r.Value);
    }
    case ntCurrency: {
        const std::optional<qint64> v = TextToCurrency(e.Text(), *e.CurrencySettings());
        return v ? std::optional<double>(double(TVelExtended(*v) / 10000)) : std::nullopt;
    }
    default: break;
    }
    const int cut = e.EditType() == ntFloat ? -1 : std::max(e.Decimals(), 0);
    const TVelFloatRead r = ReadFloatText(e.TextWithoutSuffix(), cut, fs.DecimalSeparator, fs.ThousandSeparator);
    return r.Failed ? std::nullopt : std::optional<double>(double(r.Value));
}

void SendCtrlV(QWidget& w)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
    QCoreApplication::sendEvent(&w, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_V, Qt::ControlModifier);
    QCoreApplication::sendEvent(&w, &release);
}

class HostileInput : public ::testing::TestWithParam<std::tuple<Kind, int, bool>> {
protected:
    void SetUp() override { VelApplication()->SetKeyboardState(ksInsertMode); }
    void TearDown() override { VelApplication()->SetKeyboardState(ksInsertMode); }
    MessageBoxCatcher boxes_;
};

TEST_P(HostileInput, PasteLeavesASoundEdit)
{
    const auto [kind, textIndex, replaceAll] = GetParam();
    std::unique_ptr<TVelBaseEdit> edit = MakeEdit(kind);
    edit->resize(200, 24);
    edit->show();
    QGuiApplication::clipboard()->setText(kTexts[textIndex].Make());
    if (replaceAll)
        edit->SelectAll();
    else
        edit->SetCursorPos(int(edit->Text().size()) + 1);
    SendCtrlV(*edit);
    // Once more over the result, the way a user repeats a paste that seemed to do nothing.
    SendCtrlV(*edit);

    const int length = int(edit->Text().size());
    EXPECT_GE(edit->CursorPos(), 1);
    EXPECT_LE(edit->CursorPos(), length + 1);
    EXPECT_GE(edit->SelStart(), 1);
    EXPECT_LE(edit->SelStart() + edit->SelLength(), length + 1);
    if (kind == kPlain)
        return;
    const auto& e = static_cast<const TVelCustomExtSpinEdit&>(*edit);
    const std::optional<double> back = ReadBack(e);
    ASSERT_TRUE(back.has_value()) << e.Text().left(80).toStdString();
    EXPECT_EQ(*back, e.Value()) << e.Text().left(80).toStdString();
    EXPECT_GE(e.Value(), e.MinValue());
    EXPECT_LE(e.Value(), e.MaxValue());
}

INSTANTIATE_TEST_SUITE_P(EveryKind, HostileInput,
                         ::testing::Combine(::testing::Values(kPlain, kInteger, kFloat, kFixed, kNumber, kCurrency,
                                                              kSpinEdit),
                                            ::testing::Range(0, int(std::size(kTexts))), ::testing::Bool()),
                         [](const auto& row) {
                             return std::string(kKindNames[std::get<0>(row.param)]) + "_" +
                                    kTexts[std::get<1>(row.param)].Name +
                                    (std::get<2>(row.param) ? "_over_all" : "_at_end");
                         });

} // namespace
