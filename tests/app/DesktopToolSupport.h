#pragma once
// Running the desktop's own tools (validators, a compositor, the packager) against the build.
#include <QDir>
#include <QStandardPaths>
#include <QString>
#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "RunTool.h"

// The build and source trees this test binary belongs to.
inline const QString kBuildDir = QDir::cleanPath(QStringLiteral(QT_TESTCASE_BUILDDIR "/.."));
inline const QString kSourceDir = QDir::cleanPath(QStringLiteral(QT_TESTCASE_SOURCEDIR "/.."));
inline const QString kProgram = kBuildDir + QStringLiteral("/src/app/velorin");
inline const QString kAppId = QStringLiteral("io.github.velorin.Velorin");

// CI installs every tool these tests use (scripts/setup.sh), so there a missing one is a failure;
// elsewhere the test is skipped.
#define VELORIN_REQUIRE(found, what)                                                                                   \
    do {                                                                                                               \
        if (!(found)) {                                                                                                \
            if (qgetenv("CI") == "true")                                                                               \
                FAIL() << "CI lacks " << (what);                                                                       \
            GTEST_SKIP() << "not installed: " << (what);                                                               \
        }                                                                                                              \
    } while (false)

inline QString Tool(const char* name)
{
    return QStandardPaths::findExecutable(QString::fromLatin1(name));
}

// Asks a process to end, and ends it when it does not within ten seconds.
inline void Stop(QProcess& p)
{
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished();
    }
}
