// The program as a Wayland desktop runs it: under a headless weston, through Qt's Wayland plugin.
// Weston's protocol log shows what the program asked of the compositor, which is exactly what a
// desktop sees of a window: its title, its app id and whether a buffer was ever shown.
#include <QDeadlineTimer>
#include <QFile>
#include <QLibraryInfo>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include "DesktopToolSupport.h"
#include "FileContents.h"

namespace {

struct Toplevel {
    QString title;
    QString appId;
    bool mapped = false;
};

// An xdg toplevel is mapped once its surface commits a buffer after acknowledging a configure.
// Object ids are per client and may be reused, so each request updates the state it names.
QList<Toplevel> MappedToplevelsInProtocolLog(const QString& log)
{
    struct Client {
        QMap<QString, QString> surfaceOfXdg;  // xdg_surface -> wl_surface
        QMap<QString, QString> xdgOfToplevel; // xdg_toplevel -> xdg_surface
        QMap<QString, bool> acked;            // xdg_surface
        QMap<QString, bool> buffer;           // wl_surface: a buffer is attached
        QMap<QString, Toplevel> toplevels;
    };
    static const QRegularExpression request(QStringLiteral(R"(client (\S+) rq (\w+@\d+)\.(\w+)\((.*)\)$)"));
    static const QRegularExpression ids(QStringLiteral(R"(\w+@\d+)"));
    QMap<QString, Client> clients;
    for (const QString& line : log.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch m = request.match(line);
        if (!m.hasMatch())
            continue;
        Client& c = clients[m.captured(1)];
        const QString object = m.captured(2), call = m.captured(3), args = m.captured(4);
        QStringList named;
        for (auto it = ids.globalMatch(args); it.hasNext();)
            named << it.next().captured();
        const QString quoted = args.section(QLatin1Char('"'), 1, 1);
        if (call == QLatin1String("get_xdg_surface") && named.size() == 2) {
            c.surfaceOfXdg[named[0]] = named[1];
            c.acked[named[0]] = false;
        } else if (call == QLatin1String("get_toplevel") && named.size() == 1) {
            c.xdgOfToplevel[named[0]] = object;
            c.toplevels[named[0]] = {};
        } else if (call == QLatin1String("set_title")) {
            c.toplevels[object].title = quoted;
        } else if (call == QLatin1String("set_app_id")) {
            c.toplevels[object].appId = quoted;
        } else if (call == QLatin1String("ack_configure")) {
            c.acked[object] = true;
        } else if (call == QLatin1String("attach")) {
            c.buffer[object] = named.size() == 1 && named[0].startsWith(QLatin1String("wl_buffer@"));
        } else if (call == QLatin1String("commit") && c.buffer.value(object)) {
            for (auto it = c.toplevels.begin(); it != c.toplevels.end(); ++it) {
                const QString xdg = c.xdgOfToplevel.value(it.key());
                it->mapped |= c.surfaceOfXdg.value(xdg) == object && c.acked.value(xdg);
            }
        }
    }
    // A title or app id set after the first frame is what the desktop shows from then on.
    QList<Toplevel> mapped;
    for (const Client& c : clients)
        for (const Toplevel& t : c.toplevels)
            if (t.mapped)
                mapped << t;
    return mapped;
}

struct Observed {
    QString failure; // why nothing could be observed
    QList<Toplevel> mapped;
    bool ranOn = false;
    QString standardError;
};

Observed Failed(const QString& why)
{
    Observed o;
    o.failure = why;
    return o;
}

// Starts a headless weston on a socket of its own, then the program with the given variables on
// top of what the compositor's clients see, and watches until a window is mapped.
Observed RunUnderWeston(const QString& weston, const QMap<QString, QString>& session)
{
    // A runtime folder of its own keeps the compositor's socket away from any real desktop's.
    QTemporaryDir runtime;
    if (!runtime.isValid())
        return Failed(QStringLiteral("no temporary folder"));
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString socket = QStringLiteral("velorin-test");
    const QString log = runtime.filePath(QStringLiteral("weston.log"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE", "XDG_CURRENT_DESKTOP"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), socket);

    QProcess compositor;
    compositor.setProcessEnvironment(env);
    compositor.setProcessChannelMode(QProcess::MergedChannels);
    compositor.start(weston, {"--backend=headless-backend.so", "--socket=" + socket, "--no-config", "--idle-time=0",
                              "--logger-scopes=proto", "--log=" + log});
    QDeadlineTimer deadline(30000);
    while (!QFile::exists(runtime.filePath(socket)) && compositor.state() != QProcess::NotRunning &&
           !deadline.hasExpired())
        QThread::msleep(50);
    if (!QFile::exists(runtime.filePath(socket))) {
        Stop(compositor);
        return Failed(QStringLiteral("weston did not start: ") + QString::fromLocal8Bit(compositor.readAll()));
    }

    for (auto it = session.begin(); it != session.end(); ++it)
        env.insert(it.key(), it.value());
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(kProgram, {});
    while (MappedToplevelsInProtocolLog(QString::fromUtf8(ReadAll(log))).isEmpty() &&
           program.state() != QProcess::NotRunning && !deadline.hasExpired())
        QThread::msleep(100);
    // Whatever the program would say about its first frames has been said by now.
    program.waitForFinished(1000);
    Observed run;
    run.ranOn = program.state() == QProcess::Running;
    Stop(program);
    Stop(compositor);
    run.mapped = MappedToplevelsInProtocolLog(QString::fromUtf8(ReadAll(log)));
    run.standardError = QString::fromLocal8Bit(program.readAllStandardError());
    return run;
}

} // namespace

TEST(Wayland, MainWindowMapsTitledVelorinUnderItsDesktopIdAndPrintsNothingOnStandardError)
{
    const QString weston = Tool("weston");
    VELORIN_REQUIRE(!weston.isEmpty(), "weston");
    const QString plugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms/libqwayland-generic.so";
    VELORIN_REQUIRE(QFile::exists(plugin), "qt6-wayland");
    if (!QFileInfo(kProgram).isExecutable())
        GTEST_SKIP() << "the program is not built in " << kBuildDir.toStdString();

    const struct {
        const char* name;
        QMap<QString, QString> variables;
    } sessions[] = {
        {"Wayland asked for", {{"QT_QPA_PLATFORM", "wayland"}}},
        // A desktop's Wayland session sets no platform for Qt and offers XWayland's display beside
        // the compositor; one that cannot be reached shows whether Qt chose X11 after all.
        {"GNOME on Wayland", {{"XDG_SESSION_TYPE", "wayland"}, {"XDG_CURRENT_DESKTOP", "GNOME"}, {"DISPLAY", ":1729"}}},
    };
    for (const auto& s : sessions) {
        SCOPED_TRACE(s.name);
        const Observed run = RunUnderWeston(weston, s.variables);
        ASSERT_TRUE(run.failure.isEmpty()) << run.failure.toStdString();
        EXPECT_TRUE(run.ranOn) << "the program ended by itself";
        ASSERT_EQ(run.mapped.size(), 1) << "windows mapped at start";
        EXPECT_EQ(run.mapped[0].title, "Velorin");
        EXPECT_EQ(run.mapped[0].appId, kAppId) << "the desktop finds the entry and icon through this id";
        EXPECT_EQ(run.standardError, QString());
    }
}
