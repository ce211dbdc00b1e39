// A byte string as a sequence of user operations on a number edit of every kind (see EditOps.h),
// with the edit's invariants checked after every one, and for the kinds whose bounds apply at
// once (or right after focus loss) also: the text reads back as Value and Value lies within the
// bounds.
//
// Input: a kind byte (ntInteger, ntFloat, ntFloatFixed, ntFloatNumber, ntCurrency in the float
// spin edit, or the integer spin edit), a bounds byte, a flags byte (check on exit only,
// infinite bounds, "," locale, suffix, a locale grouping with a narrow no-break space), a decimals
// byte, then operations. Operation 8 assigns a
// Value, 9 assigns Decimals, 10 steps through the step operations, and so on round.

#include <cmath>
#include <limits>
#include <optional>

#include "EditOps.h"
#include "ScopedFormat.h"
#include "VelCurrencySettings.h"
#include "VelErrors.h"
#include "VelExtSpinEdit.h"
#include "VelNumberText.h"
#include "VelSpinEdit.h"

namespace {

template <typename Base> class TCounting : public Base {
public:
    int Edits = 0;

protected:
    void BeforeEdit() override
    {
        if (!this->IsUndoing())
            ++Edits;
        Base::BeforeEdit();
    }
};

// Bounds the shown decimals can hold: a bound finer than the display (0.5 with 0 decimals) is
// written rounded past itself, which the value model leaves to whoever picks such a bound.
struct Bounds {
    double Min;
    double Max;
};
const Bounds kBounds[8] = {{0, 100}, {0, 1000000}, {-1000, 1000}, {5, 10}, {-1e12, 1e12}, {-2147483647, 2147483647},
                           {0, 0},   {-50, 50}};

double ValueFrom(FuzzBytes& in)
{
    static const double kValues[] = {0,   1,          -1,      0.5,  1.25,  2.5,          99.99,         100,
                                     1e6, 123456.789, -0.0005, 1e15, -1e15, 2147483647.0, -2147483648.0, 9.999999e17,
                                     0.1, 1.0 / 3};
    const uint8_t b = in.Byte();
    if (b < 0xC0)
        return kValues[b % (sizeof kValues / sizeof kValues[0])];
    const double raw = in.Raw<double>();
    // Assigning NaN or an infinity is a caller's fault the value model does not promise to absorb.
    return std::isfinite(raw) ? raw : 0.0;
}

// What the edit's own reader of its kind makes of the text, or nothing when it cannot read it.
std::optional<double> ReadBack(const TVelCustomExtSpinEdit& e)
{
    const QString t = e.TextWithoutSuffix();
    const TFormatSettings& fs = FormatSettings();
    switch (e.EditType()) {
    case ntInteger: {
        const TVelIntegerRead r = ReadIntegerText(t);
        return r.Failed ? std::nullopt : std::optional<double>(r.Value);
    }
    case ntCurrency: {
        const std::optional<qint64> v = TextToCurrency(e.Text(), *e.CurrencySettings());
        return v ? std::optional<double>(double(TVelExtended(*v) / 10000)) : std::nullopt;
    }
    case ntFloat:
    case ntFloatFixed:
    case ntFloatNumber: break;
    }
    const int cut = e.EditType() == ntFloat ? -1 : std::max(e.Decimals(), 0);
    const TVelFloatRead r = ReadFloatText(t, cut, fs.DecimalSeparator, fs.ThousandSeparator);
    return r.Failed ? std::nullopt : std::optional<double>(double(r.Value));
}

void CheckValue(const TVelCustomExtSpinEdit& e, bool textStandsForValue, const std::string& after)
{
    const std::string where = " after " + after + " on " + Quoted(e.Text()) + " (kind " + std::to_string(e.EditType()) +
                              ", value " + std::to_string(e.Value()) + ")";
    const std::optional<double> back = ReadBack(e);
    FuzzCheck(back.has_value(), "the text does not read" + where);
    FuzzCheck(!textStandsForValue || *back == e.Value(), "the text reads as " + std::to_string(*back) + where);
    FuzzCheck(e.InfiniteMin() || e.Value() >= e.MinValue(), "value below the minimum" + where);
    FuzzCheck(e.InfiniteMax() || e.Value() <= e.MaxValue(), "value above the maximum" + where);
}

template <typename Edit> void Run(Edit& edit, FuzzBytes& in, uint8_t kind, uint8_t flags)
{
    TVelCustomExtSpinEdit& e = edit;
    Bounds bounds = kBounds[in.Byte() & 7];
    // The integer edits take whole bounds.
    if (kind == ntInteger || kind == 5)
        bounds = {std::trunc(bounds.Min), std::trunc(bounds.Max)};
    const int decimals = in.Byte() % 8;
    e.BeginLoading();
    if (kind < 5)
        e.SetEditType(TVelNumberType(kind));
    e.SetBoundIdx(2, bounds.Max);
    e.SetBoundIdx(1, bounds.Min);
    e.SetDecimals(decimals);
    e.SetFractionStep(0.1);
    e.SetCheckOnExitOnly(flags & 1);
    e.SetInfiniteMin(flags & 2);
    e.SetInfiniteMax(flags & 4);
    if ((flags & 16) && kind != ntCurrency)
        e.SetSuffix(QStringLiteral(" V"));
    e.SetValueIdx(2, bounds.Min);
    e.Loaded();
    edit.resize(160, 24);
    edit.show();

    EditDriver driver(edit, in);
    int step = 0;
    // A Value assigned whose text is the one already shown is kept as assigned (an unchanged
    // text is not read back), so the text stands for it only once the text changes again. The
    // assignment while loading is not read back either.
    bool assignedUnshown = true;
    while (!in.Empty()) {
        const uint8_t op = in.Byte();
        const int lengthBefore = int(edit.Text().size());
        const QString textBefore = edit.Text();
        const bool exited = (op & 15) == 7;
        if (!driver.Run(op)) {
            switch (((op & 15) - 8) % 3) {
            case 0:
                // Money beyond 64 bits of ten-thousandths is refused with an error, as the
                // window's message loop would show it; the edit must stay as it was.
                try {
                    e.SetValue(ValueFrom(in));
                } catch (const EVelException&) {
                }
                assignedUnshown = assignedUnshown || edit.Text() == textBefore;
                break;
            case 1: e.SetDecimals(int(int8_t(in.Byte())) % 20); break;
            case 2:
                if (in.Byte() & 1)
                    e.StepUp(e.Step());
                else
                    e.StepDown(e.LargeStep());
                break;
            }
        }
        QCoreApplication::sendPostedEvents();
        const std::string after = "operation " + std::to_string(step++) + " (" + std::to_string(op) + ")";
        CheckEditState(edit, edit.Edits, lengthBefore, after);
        if (edit.Text() != textBefore)
            assignedUnshown = false;
        if (!e.CheckOnExitOnly() || exited)
            CheckValue(e, !assignedUnshown, after);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EnsureFuzzApplication();
    ResetKeyboardState();
    FuzzBytes in(data, size);
    const uint8_t kind = in.Byte() % 6;
    const uint8_t flags = in.Byte();
    const QChar thousand = flags & 32 ? QChar(0x202F) : flags & 8 ? QChar('.') : QChar(',');
    ScopedFormat format(flags & (8 | 32) ? QChar(',') : QChar('.'), thousand);
    if (kind == 5) {
        TCounting<TVelSpinEdit> edit;
        Run(edit, in, kind, flags);
    } else {
        TCounting<TVelExtSpinEdit> edit;
        Run(edit, in, kind, flags);
    }
    return 0;
}
