// cmake --install into a temporary prefix, and the desktop entry as desktop-file-validate reads it.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QFile>
#include <QMap>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The build and source trees this test binary belongs to.
const QString kBuildDir = QDir::cleanPath(QStringLiteral(QT_TESTCASE_BUILDDIR "/.."));
const QString kSourceDir = QDir::cleanPath(QStringLiteral(QT_TESTCASE_SOURCEDIR "/.."));

struct Ran {
    int exitCode = -1;
    QString output;
};

Ran RunTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAll())};
}

// The keys of the entry's one group; QSettings would split values at commas.
QMap<QString, QString> EntryKeys(const QString& path)
{
    QMap<QString, QString> keys;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && !line.startsWith(QLatin1Char('#')))
            keys.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    return keys;
}

QString Validator()
{
    return QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
}

} // namespace

TEST(DesktopEntry, PassesDesktopFileValidate)
{
    if (Validator().isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed (package desktop-file-utils)";
    const QString entry = kSourceDir + QStringLiteral("/src/app/resources/velorin.desktop");
    const Ran r = RunTool(Validator(), {entry});
    EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
    EXPECT_TRUE(r.output.trimmed().isEmpty()) << r.output.toStdString();
}

TEST(Install, PutsProgramEntryAndIconsWhereADesktopMenuFindsThem)
{
    const QString cmake = QStandardPaths::findExecutable(QStringLiteral("cmake"));
    if (cmake.isEmpty())
        GTEST_SKIP() << "cmake is not on the PATH";
    if (!QFileInfo(kBuildDir + QStringLiteral("/src/app/velorin")).isExecutable())
        GTEST_SKIP() << "the program is not built in " << kBuildDir.toStdString();
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const Ran install = RunTool(cmake, {"--install", kBuildDir, "--prefix", prefix.path()});
    ASSERT_EQ(install.exitCode, 0) << install.output.toStdString();

    const QDir root(prefix.path());
    EXPECT_TRUE(QFileInfo(root.filePath("bin/velorin")).isExecutable());
    const QString entry = root.filePath("share/applications/velorin.desktop");
    ASSERT_TRUE(QFileInfo::exists(entry));
    if (!Validator().isEmpty()) {
        const Ran valid = RunTool(Validator(), {entry});
        EXPECT_EQ(valid.exitCode, 0) << valid.output.toStdString();
    }

    const QMap<QString, QString> desktop = EntryKeys(entry);
    EXPECT_EQ(desktop.value("Name"), "Velorin");
    EXPECT_FALSE(desktop.value("Comment").isEmpty());
    EXPECT_EQ(desktop.value("Exec"), "velorin");
    EXPECT_TRUE(desktop.value("Categories").contains("Electricity;"));
    const QString icon = desktop.value("Icon");
    EXPECT_EQ(icon, "velorin");
    for (const int size : {48, 128, 256}) {
        const QString file = root.filePath(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(icon));
        const QImage image(file);
        ASSERT_FALSE(image.isNull()) << file.toStdString();
        EXPECT_EQ(image.size(), QSize(size, size));
        // Picture 1: a yellow warning triangle (over an eighth of the square) with transparent corners.
        int yellow = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const QColor c = image.pixelColor(x, y);
                yellow += c.alpha() == 255 && c.red() > 200 && c.green() > 160 && c.blue() < 80;
            }
        EXPECT_GT(yellow, size * size / 8) << size;
        EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << size;
    }
}
