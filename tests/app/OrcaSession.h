#pragma once
// A desktop session with the real screen reader: a virtual X server, a session bus with the
// accessibility bus on it, Orca with a fresh profile, and one program to drive with xdotool.
// Orca's debug log is read while Orca writes it, through a pseudo-terminal: written to a file it
// is block-buffered and lost when Orca is killed.
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <poll.h>
#include <thread>
#include <unistd.h>

#include "DesktopToolSupport.h"

// What Orca says, line by line, as its debug log reports it.
class SpeechLog {
public:
    SpeechLog()
    {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
            return;
        path_ = QString::fromLocal8Bit(ptsname(master_));
        // Held open, so the terminal does not hang up between Orca's writes or before its first.
        slave_ = open(ptsname(master_), O_RDWR | O_NOCTTY);
        reader_ = std::thread([this] { Read(); });
    }
    ~SpeechLog()
    {
        stop_ = true;
        if (reader_.joinable())
            reader_.join();
        for (int fd : {slave_, master_})
            if (fd >= 0)
                close(fd);
    }
    SpeechLog(const SpeechLog&) = delete;
    SpeechLog& operator=(const SpeechLog&) = delete;

    // The terminal Orca writes to; empty when none could be made.
    QString Path() const { return slave_ >= 0 ? path_ : QString(); }

    QStringList Spoken() const
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        return spoken_;
    }

    // The first line from index `from` on that matches, waiting for it at most `seconds`; -1 when
    // none came.
    int WaitFor(int from, const QRegularExpression& line, int seconds) const
    {
        const QDeadlineTimer deadline(seconds * 1000);
        do {
            const QStringList said = Spoken();
            for (int i = from; i < said.size(); ++i)
                if (line.match(said[i]).hasMatch())
                    return i;
            QThread::msleep(50);
        } while (!deadline.hasExpired());
        return -1;
    }

private:
    void Read()
    {
        QByteArray pending;
        char buffer[65536];
        while (!stop_) {
            pollfd p{master_, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0)
                continue;
            const ssize_t n = read(master_, buffer, sizeof buffer);
            if (n <= 0)
                continue;
            pending.append(buffer, n);
            qsizetype end;
            while ((end = pending.indexOf('\n')) >= 0) {
                Take(QString::fromUtf8(pending.left(end)));
                pending.remove(0, end + 1);
            }
        }
    }
    void Take(const QString& line)
    {
        // "12:00:00.000000 - SPEECH OUTPUT: 'Store push button.'{'established': False}"
        static const QRegularExpression speech(QStringLiteral(R"(SPEECH OUTPUT: '(.*?)'(?: voice=\S+)? ?\{)"));
        const QRegularExpressionMatch m = speech.match(line);
        if (!m.hasMatch())
            return;
        const std::lock_guard<std::mutex> lock(mutex_);
        spoken_ << m.captured(1).trimmed();
    }

    int master_ = -1;
    int slave_ = -1;
    QString path_;
    std::atomic<bool> stop_{false};
    std::thread reader_;
    mutable std::mutex mutex_;
    QStringList spoken_;
};

class OrcaSession {
public:
    OrcaSession() = default;
    OrcaSession(const OrcaSession&) = delete;
    OrcaSession& operator=(const OrcaSession&) = delete;
    ~OrcaSession()
    {
        for (QProcess* p : {&program_, &orca_, &launcher_})
            Stop(*p);
        // The bus ends with the command it runs, which ends when its input does.
        bus_.closeWriteChannel();
        if (!bus_.waitForFinished(10000))
            Stop(bus_);
        Stop(xvfb_);
    }

    // Empty when Orca is up and has spoken; otherwise what failed.
    QString Start()
    {
        if (!folder_.isValid() || log_.Path().isEmpty())
            return QStringLiteral("no temporary folder or pseudo-terminal");
        if (QString why = StartDisplay(); !why.isEmpty())
            return why;
        if (QString why = StartBuses(); !why.isEmpty())
            return why;
        return StartOrca();
    }

    // Starts the program and gives its window the keyboard, as a window manager would.
    QString Launch(const QString& path, const QMap<QString, QString>& variables)
    {
        QProcessEnvironment env = env_;
        for (auto it = variables.begin(); it != variables.end(); ++it)
            env.insert(it.key(), it.value());
        program_.setProcessEnvironment(env);
        program_.setStandardOutputFile(folder_.filePath("program.log"));
        program_.setProcessChannelMode(QProcess::MergedChannels);
        program_.start(path, {});
        const QString window =
            Xdotool({"search", "--sync", "--onlyvisible", "--name", "^Velorin$"}).section('\n', 0, 0);
        if (window.isEmpty())
            return QStringLiteral("no window appeared: ") + ProgramOutput();
        Xdotool({"windowfocus", "--sync", window});
        return {};
    }

    // Key names as xdotool knows them, separated by blanks.
    void Keys(const QString& keys)
    {
        Xdotool(QStringList{"key", "--clearmodifiers", "--delay", "150"} + keys.split(' ', Qt::SkipEmptyParts));
    }
    void Type(const QString& text) { Xdotool({"type", "--delay", "150", text}); }

    const SpeechLog& Log() const { return log_; }
    // What the program wrote so far: Qt's warnings, a key the screen reader did not answer for in time.
    QString ProgramOutput() const
    {
        QFile f(folder_.filePath("program.log"));
        return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll()) : QString();
    }

private:
    QString Dir(const char* name) const
    {
        QString path = folder_.filePath(QString::fromLatin1(name));
        QDir().mkpath(path);
        return path;
    }

    QString StartDisplay()
    {
        const QString home = Dir("home"), runtime = Dir("runtime");
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // A speech server without a sound card: the dummy voice into a null audio driver.
        QDir().mkpath(home + "/.config/speech-dispatcher");
        QFile conf(home + "/.config/speech-dispatcher/speechd.conf");
        QFile libao(home + "/.libao");
        if (!conf.open(QIODevice::WriteOnly) || !libao.open(QIODevice::WriteOnly))
            return QStringLiteral("cannot write the speech server's settings");
        conf.write(
            "AddModule \"dummy\" \"sd_dummy\" \"\"\nDefaultModule dummy\nAudioOutputMethod \"libao\"\nTimeout 5\n");
        libao.write("default_driver=null\n");
        env_.insert("PATH", qEnvironmentVariable("PATH"));
        env_.insert("HOME", home);
        env_.insert("XDG_RUNTIME_DIR", runtime);
        env_.insert("XDG_CONFIG_HOME", home + "/.config");
        env_.insert("XDG_DATA_HOME", Dir("data"));
        env_.insert("XDG_CACHE_HOME", Dir("cache"));
        env_.insert("XDG_STATE_HOME", Dir("state"));
        env_.insert("LANG", "C.UTF-8");
        env_.insert("GSETTINGS_BACKEND", "memory");
        for (const char* sanitizer : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"})
            if (qEnvironmentVariableIsSet(sanitizer))
                env_.insert(sanitizer, qEnvironmentVariable(sanitizer));

        // A server of its own on the first free display, whatever else runs on this machine; one
        // that resets when its last client leaves may refuse the next one during the reset.
        const QString displayFile = folder_.filePath("display");
        xvfb_.setProcessEnvironment(env_);
        xvfb_.start("bash", {"-c", "exec Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>\"$0\"",
                             displayFile});
        const QDeadlineTimer deadline(30000);
        QString display;
        while (display.isEmpty() && xvfb_.state() != QProcess::NotRunning && !deadline.hasExpired()) {
            QThread::msleep(50);
            QFile f(displayFile);
            if (f.open(QIODevice::ReadOnly))
                display = QString::fromLatin1(f.readLine()).trimmed();
        }
        if (display.isEmpty())
            return QStringLiteral("no X server: ") + QString::fromLocal8Bit(xvfb_.readAllStandardError());
        env_.insert("DISPLAY", ':' + display);
        return {};
    }

    QString StartBuses()
    {
        bus_.setProcessEnvironment(env_);
        bus_.start("dbus-run-session", {"--", "sh", "-c", "echo \"$DBUS_SESSION_BUS_ADDRESS\"; exec cat >/dev/null"});
        if (!bus_.waitForReadyRead(30000))
            return QStringLiteral("no session bus: ") + QString::fromLocal8Bit(bus_.readAllStandardError());
        const QString address = QString::fromLocal8Bit(bus_.readLine()).trimmed();
        env_.insert("DBUS_SESSION_BUS_ADDRESS", address);
        launcher_.setProcessEnvironment(env_);
        launcher_.start("/usr/libexec/at-spi-bus-launcher", {"--launch-immediately"});
        const QString name = QStringLiteral("velorin-orca-test");
        bool up = false;
        {
            QDBusConnection session = QDBusConnection::connectToBus(address, name);
            const QDeadlineTimer deadline(30000);
            while (!(up = session.interface()->isServiceRegistered("org.a11y.Bus")) && !deadline.hasExpired())
                QThread::msleep(50);
        }
        QDBusConnection::disconnectFromBus(name);
        return up ? QString() : QStringLiteral("no accessibility bus");
    }

    QString StartOrca()
    {
        // Orca refuses to start beside another Orca of the same user; in a process namespace of its
        // own it sees none, and its speech server ends with it.
        const bool alone = QProcess::execute("unshare", {"--pid", "--fork", "--mount-proc", "true"}) == 0;
        const QStringList orca{"orca", "--user-prefs", Dir("orca"), "--debug-file", log_.Path()};
        orca_.setProcessEnvironment(env_);
        orca_.setProcessChannelMode(QProcess::MergedChannels);
        if (alone)
            orca_.start("unshare", QStringList{"--pid", "--fork", "--mount-proc", "--kill-child"} + orca);
        else
            orca_.start(orca.first(), orca.mid(1));
        if (log_.WaitFor(0, QRegularExpression("^Screen reader on"), 120) < 0)
            return QStringLiteral("Orca did not start: ") + QString::fromLocal8Bit(orca_.readAll());
        return {};
    }

    QString Xdotool(const QStringList& args)
    {
        QProcess p;
        p.setProcessEnvironment(env_);
        p.start("xdotool", args);
        if (!p.waitForFinished(60000))
            p.kill();
        return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    }

    QTemporaryDir folder_;
    SpeechLog log_;
    QProcessEnvironment env_;
    QProcess xvfb_, bus_, launcher_, orca_, program_;
};
