// The captions a user reads on the window frames of the running program under a real X server:
// exactly the windows' own, with nothing appended by the toolkit.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "DesktopToolSupport.h"

namespace {

// Opens each window as a user would and prints the names of the visible windows after each step,
// one "step: name|name" line a step. The main window's buttons sit where the window description
// puts them: About at (576, 432), Print at (456, 432), Export at (696, 384), each 75 x 33.
const char* const kScenario = R"sh(
prog=$1 existing=$2 out=$3
# A server of its own on the first free display, whatever else runs on this machine. It must not
# reset when xdpyinfo, its first client, leaves: a server that had to pass over a display taken by
# another one sometimes refuses the program's connection during that reset.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$out/display" 2>"$out/xvfb.log" &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null' EXIT
for _ in $(seq 300); do [ -s "$out/display" ] || ! kill -0 "$xvfb" 2>/dev/null && break; sleep 0.1; done
export DISPLAY=:$(head -n 1 "$out/display")
xdpyinfo >/dev/null 2>&1 || exit 3
CUPS_SERVER=/nonexistent/velorin-test.sock QT_QPA_PLATFORM=xcb "$prog" 2>"$out/program.err" &
pid=$!
names() {
  for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do xdotool getwindowname "$w"; done | sort -u | paste -sd'|'
}
# xdotool matches names regardless of case; a caption must match exactly.
window() {
  for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    [ "$(xdotool getwindowname "$w")" = "$1" ] && { echo "$w"; return; }
  done
}
# Waits until a window of that exact name is visible, then reports what is visible.
step() {
  for _ in $(seq 200); do [ -n "$(window "$2")" ] || ! kill -0 "$pid" 2>/dev/null && break; sleep 0.1; done
  sleep 0.2
  echo "$1: $(names)"
}
click() { xdotool mousemove --window "$main" "$1" "$2" click 1; }
keys() { w=$(window "$1"); [ -n "$w" ] && xdotool windowfocus --sync "$w" && xdotool key --delay 50 "${@:2}"; }

step main Velorin
main=$(window Velorin)
click 613 448; step about About
click 493 448; step error velorin
keys velorin Return
click 733 400
for _ in $(seq 200); do [ "$(names | tr '|' '\n' | grep -cvE '^(Velorin|About)$')" -gt 0 ] && break; sleep 0.1; done
dialog=$(names | tr '|' '\n' | grep -vE '^(Velorin|About)$' | head -n 1)
keys "$dialog" ctrl+a && xdotool type --delay 20 "$existing" && xdotool key Return
step question Warning
keys Warning Escape
kill "$pid" 2>/dev/null || echo "the program had ended by itself"
wait "$pid" 2>/dev/null
exit 0
)sh";

} // namespace

TEST(WindowCaptions, AreExactlyTheWindowsOwnOnTheDesktop)
{
    VELORIN_REQUIRE(!Tool("Xvfb").isEmpty() && !Tool("xdotool").isEmpty() && !Tool("xdpyinfo").isEmpty(),
                    "Xvfb, xdotool and xdpyinfo");
    if (!QFileInfo(kProgram).isExecutable())
        GTEST_SKIP() << "the program is not built in " << kBuildDir.toStdString();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString existing = folder.filePath(QStringLiteral("old.csv"));
    QFile old(existing);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.close();
    // The program sees the same few variables wherever the test runs, and keeps its instance
    // record and settings in folders of its own.
    const QString home = folder.filePath(QStringLiteral("home")), runtime = folder.filePath(QStringLiteral("runtime"));
    ASSERT_TRUE(QDir().mkpath(home) && QDir().mkpath(runtime));
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QStringList args{"-i", "PATH=" + qEnvironmentVariable("PATH"), "HOME=" + home, "XDG_RUNTIME_DIR=" + runtime,
                     "LANG=C.UTF-8"};
    for (const char* sanitizer : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"})
        if (qEnvironmentVariableIsSet(sanitizer))
            args << QString::fromLatin1(sanitizer) + '=' + qEnvironmentVariable(sanitizer);
    args << "bash"
         << "-c" << QString::fromUtf8(kScenario) << "_" << kProgram << existing << folder.path();
    const Ran run = RunTool(QStringLiteral("env"), args);
    const auto said = [&](const char* name) {
        QFile f(folder.filePath(QString::fromLatin1(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
    };
    if (run.exitCode == 3)
        GTEST_SKIP() << "no X server could be started here:\n" << said("xvfb.log");
    const std::string program = "\nthe program said:\n" + said("program.err");
    EXPECT_FALSE(run.output.contains(QStringLiteral("ended by itself"))) << program;
    QMap<QString, QStringList> seen;
    static const QRegularExpression line(QStringLiteral(R"(^(\w+): (.*)$)"), QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(run.output); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        seen[m.captured(1)] = m.captured(2).split(QLatin1Char('|'));
    }
    const struct {
        const char* step;
        const char* caption;
    } expected[] = {
        {"main", "Velorin"},    // the main window
        {"about", "About"},     // the About box
        {"error", "velorin"},   // an error box: the program file's title
        {"question", "Warning"} // the export's overwrite question
    };
    for (const auto& e : expected)
        EXPECT_TRUE(seen.value(QString::fromLatin1(e.step)).contains(QString::fromLatin1(e.caption)))
            << e.step << " shows " << seen.value(QString::fromLatin1(e.step)).join(" | ").toStdString() << "\n"
            << run.output.toStdString() << program;
    // Nothing anywhere carries a suffix such as " - Velorin".
    for (const QStringList& names : seen)
        for (const QString& name : names)
            EXPECT_FALSE(name.contains(QStringLiteral("Velorin")) && name != QStringLiteral("Velorin"))
                << name.toStdString();
}
