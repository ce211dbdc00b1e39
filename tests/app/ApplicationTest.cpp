#include <QCoreApplication>
#include <QEvent>
#include <QStringList>
#include <gtest/gtest.h>
#include <stdexcept>

#include "QtPrinters.h"
#include "VelErrors.h"
#include "VelorinApplication.h"

namespace {

// Records every error box instead of showing it.
class RecordedErrorBoxes : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = SetErrorBox([this](const QString& caption, const QString& text) {
            captions.append(caption);
            texts.append(text);
        });
    }
    void TearDown() override { SetErrorBox(previous_); }

    QStringList captions, texts;

private:
    TErrorBox previous_;
};

// Fails while handling any event it receives, as a broken handler would.
class FailingReceiver : public QObject {
public:
    bool event(QEvent*) override { throw EVelMathError(QStringLiteral("Floating point division by zero")); }
};

struct TextCase {
    const char* message;
    const char* shown;
};

[[maybe_unused]] void PrintTo(const TextCase& c, std::ostream* os)
{
    *os << "[" << c.message << "]";
}

class ErrorBoxTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ErrorBoxTextTest, AddsAFullStopOnlyAfterCharactersSortingAfterIt)
{
    EXPECT_EQ(ErrorBoxText(QString::fromUtf8(GetParam().message)), QString::fromUtf8(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(Messages, ErrorBoxTextTest,
                         ::testing::Values(TextCase{"Disk full", "Disk full."},
                                           TextCase{"I/O error 42", "I/O error 42."}, TextCase{"Done.", "Done."},
                                           TextCase{"Why?", "Why?."},        // '?' sorts after '.'
                                           TextCase{"Stop!", "Stop!"},       // '!' sorts before it
                                           TextCase{"range 1-", "range 1-"}, // so does '-'
                                           TextCase{"path/", "path/."},      // '/' is the next one
                                           TextCase{"trailing ", "trailing "}, TextCase{"Ohm \u03A9", "Ohm \u03A9."},
                                           TextCase{"", ""}));

struct TitleCase {
    const char* path;
    const char* title;
};

[[maybe_unused]] void PrintTo(const TitleCase& c, std::ostream* os)
{
    *os << c.path;
}

class ApplicationTitleTest : public ::testing::TestWithParam<TitleCase> {};

TEST_P(ApplicationTitleTest, IsTheFileNameUpToItsFirstDotWithTheTailInLowerCase)
{
    EXPECT_EQ(ApplicationTitleFrom(QString::fromUtf8(GetParam().path)), QString::fromUtf8(GetParam().title));
}

INSTANTIATE_TEST_SUITE_P(Paths, ApplicationTitleTest,
                         ::testing::Values(TitleCase{"/usr/bin/velorin", "velorin"},
                                           TitleCase{"/opt/VELORIN.bin", "Velorin"},
                                           TitleCase{"/opt/my.Calc.Tool", "my"},
                                           TitleCase{"/opt/dir.with.dots/OhmCalc", "Ohmcalc"},
                                           TitleCase{"relative/X", "X"}, TitleCase{"/opt/.hidden", ""}));

TEST_F(RecordedErrorBoxes, AFailingHandlerShowsItsMessageUnderTheCaptionAndTheProgramGoesOn)
{
    const bool delivered = DeliverGuarded([]() -> bool { throw EVelInOutError(5); }, QStringLiteral("Velorin"));

    EXPECT_FALSE(delivered);
    EXPECT_EQ(captions, QStringList{QStringLiteral("Velorin")});
    EXPECT_EQ(texts, QStringList{QStringLiteral("File access denied.")});
}

TEST_F(RecordedErrorBoxes, ForeignExceptionsAreShownTooAndNothingEscapes)
{
    EXPECT_NO_THROW(
        DeliverGuarded([]() -> bool { throw std::runtime_error("bad alloc of sorts"); }, QStringLiteral("t")));
    EXPECT_NO_THROW(DeliverGuarded([]() -> bool { throw 42; }, QStringLiteral("t")));
    EXPECT_EQ(texts, (QStringList{QStringLiteral("bad alloc of sorts."), QStringLiteral("Unknown error.")}));
}

TEST_F(RecordedErrorBoxes, AHandlerThatSucceedsShowsNothingAndKeepsItsResult)
{
    EXPECT_TRUE(DeliverGuarded([] { return true; }, QStringLiteral("t")));
    EXPECT_FALSE(DeliverGuarded([] { return false; }, QStringLiteral("t")));
    EXPECT_TRUE(texts.isEmpty());
}

TEST_F(RecordedErrorBoxes, AnExceptionThrownInsideQtsEventDeliveryIsCaught)
{
    FailingReceiver receiver;
    QEvent event(QEvent::User);
    DeliverGuarded([&] { return QCoreApplication::sendEvent(&receiver, &event); }, QStringLiteral("Velorin"));

    EXPECT_EQ(texts, QStringList{QStringLiteral("Floating point division by zero.")});
}

TEST_F(RecordedErrorBoxes, AFailingErrorBoxDoesNotEscapeEither)
{
    const TErrorBox recorder =
        SetErrorBox([](const QString&, const QString&) { throw std::runtime_error("no display"); });
    EXPECT_NO_THROW(DeliverGuarded([]() -> bool { throw EVelMathError(QStringLiteral("x")); }, QStringLiteral("t")));
    SetErrorBox(recorder);
}

} // namespace
