// The calculator with the real screen reader, keyboard only: what Orca says at each step, read
// from its speech log. A blind user must hear the result change without moving, after a typed
// value and never over it, once per change; hear what Store and Delete did; and hear the spin
// edits the way Qt's own spin boxes read.
#include <QMap>
#include <QRegularExpression>
#include <algorithm>
#include <gtest/gtest.h>

#include "DesktopToolSupport.h"
#include "OrcaSession.h"

namespace {

struct Step {
    const char* what;
    const char* keys;  // xdotool key names, pressed first
    const char* typed; // then typed
    const char* heard; // the line to wait for
    const char* after; // said before `heard` in this step: it must not be cut off or overtaken
    const char* never; // said nowhere in this step up to `heard`
    bool once;         // `heard` is said once in the whole session
};

// Inputs in this order: Resistance 2, Amperage 3 (Voltage 6), then one step up (8). Tab order:
// mode, table, Store, Delete, the three inputs (the calculated one hidden), Export, Print, About,
// Exit, decimals.
const Step kSteps[] = {
    {"to the resistance", "Tab Tab Tab Tab Tab", "", "^Resistance 0\\.0 spin button", "", "", false},
    // The voltage stays 0, and the resistance's own line was just heard: nothing more is said.
    {"a resistance", "", "2", "^2\\.0$", "", "", false},
    {"to the amperage, told the current result", "shift+Tab", "",
     "^Voltage = 0 Volt, Amperage = 0 Amp, Resistance = 2 Ohms", "^Amperage 0\\.0 spin button", "^Resistance =", false},
    {"a typed amperage", "", "3", "^Voltage = 6 Volts$", "^3", "", true},
    {"where am I", "KP_Enter", "", "^Voltage = 6 Volts, Amperage = 3 Amps, Resistance = 2 Ohms",
     "^Amperage spin button Amperage 3\\.0", "^up$", false},
    // From the start of the text: right of the decimal separator, Up would step by a tenth.
    {"a step", "Home Up", "", "^Voltage = 8 Volts$", "^4\\.0$", "", true},
    {"to Store", "shift+Tab shift+Tab", "", "^Store push button", "", "", false},
    {"Store", "space", "", "^Stored in row 1: Voltage 8, Amperage 4, Resistance 2$", "", "", true},
    {"to Delete", "Tab", "", "^Delete push button", "", "", false},
    {"Delete", "space", "", "^Deleted row 1, no rows left$", "", "table", true},
    {"Delete on an empty table, then back", "space shift+Tab", "", "^Store push button", "",
     "^Deleted|^Stored|^Voltage|table", false},
    {"to the amperage", "Tab Tab", "", "^Amperage 4\\.0 spin button", "", "", false},
    {"a fraction", "Home shift+End", "2.5", "^Voltage = 5 Volts$", "", "", true},
    {"to the decimals", "Tab Tab Tab Tab Tab Tab", "", "^Decimal Required 1 spin button", "", "", false},
    {"fewer decimals", "Down", "", "^Voltage = 4 Volts, Amperage = 2 Amps$", "^0$", "", true},
    {"to the mode", "Tab", "", "radio button", "", "", false},
    {"a mode change", "Down", "", "^Amperage = 0 Amp, Voltage = 0 Volt$", "selected radio button", "", true},
    // Whatever a step said twice has been said by the time the next focus is told.
    {"and on", "shift+Tab", "", "^Decimal Required 0 spin button", "", "", false},
};

int IndexIn(const QStringList& said, int from, int to, const QString& pattern)
{
    const QRegularExpression re(pattern);
    for (int i = from; i < to; ++i)
        if (re.match(said[i]).hasMatch())
            return i;
    return -1;
}

} // namespace

TEST(ScreenReader, OrcaSpeaksResultsStoreAndDeleteWithoutTheUserMoving)
{
    VELORIN_REQUIRE(!Tool("orca").isEmpty() && !Tool("speech-dispatcher").isEmpty(), "orca and speech-dispatcher");
    VELORIN_REQUIRE(!Tool("Xvfb").isEmpty() && !Tool("xdotool").isEmpty() && !Tool("dbus-run-session").isEmpty() &&
                        QFile::exists("/usr/libexec/at-spi-bus-launcher"),
                    "Xvfb, xdotool, dbus and at-spi2-core");
    if (!QFileInfo(kProgram).isExecutable())
        GTEST_SKIP() << "the program is not built in " << kBuildDir.toStdString();

    OrcaSession session;
    const QString failure = session.Start();
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
    // No printer is looked for: a print service that is not there must not slow the start.
    ASSERT_EQ(session.Launch(kProgram, {{"QT_QPA_PLATFORM", "xcb"}, {"CUPS_SERVER", "/nonexistent/velorin.sock"}}),
              QString());
    const SpeechLog& log = session.Log();
    ASSERT_GE(log.WaitFor(0, QRegularExpression("radio button"), 60), 0) << "the window's focus was not told";

    for (const Step& s : kSteps) {
        const int mark = int(log.Spoken().size());
        session.Keys(QString::fromLatin1(s.keys));
        session.Type(QString::fromLatin1(s.typed));
        const int heard = log.WaitFor(mark, QRegularExpression(QString::fromLatin1(s.heard)), 60);
        const QStringList said = log.Spoken();
        const std::string context =
            std::string("\nsaid in this step:\n  ") + said.mid(mark).join("\n  ").toStdString() + "\n";
        ASSERT_GE(heard, 0) << s.what << ": not heard: " << s.heard << context << "the program said:\n"
                            << session.ProgramOutput().toStdString();
        if (*s.after) {
            EXPECT_GE(IndexIn(said, mark, heard, QString::fromLatin1(s.after)), 0)
                << s.what << ": not said before it: " << s.after << context;
        }
        if (*s.never) {
            EXPECT_LT(IndexIn(said, mark, heard, QString::fromLatin1(s.never)), 0)
                << s.what << ": said: " << s.never << context;
        }
    }
    const QStringList said = log.Spoken();
    for (const Step& s : kSteps)
        if (s.once) {
            const QRegularExpression line(QString::fromLatin1(s.heard));
            EXPECT_EQ(
                std::count_if(said.begin(), said.end(), [&](const QString& l) { return line.match(l).hasMatch(); }), 1)
                << s.what << ": " << s.heard;
        }
}
