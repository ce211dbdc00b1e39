#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

struct Ran {
    int exitCode = -1; // -1 also when the tool crashed or did not finish in time
    QString output;    // standard output and error, merged
};

// Runs a tool to its end; one that is still running after TimeoutMs is killed.
inline Ran RunTool(const QString& Program, const QStringList& Args, int TimeoutMs = 240000)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(Program, Args);
    if (!p.waitForFinished(TimeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAll())};
}
