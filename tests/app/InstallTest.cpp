// cmake --install into a temporary prefix, with the installed desktop entry and metainfo as the
// desktop's own validators read them; and the Debian package that CPack builds from the same rules.
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

#include "DesktopToolSupport.h"

namespace {

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

// Whether two renderings of the icon agree: pixels that differ markedly in any channel, as a
// share of all. Antialiased edges differ a little between renderers; a misplaced shape shows.
double ShareOfDifferentPixels(const QImage& a, const QImage& b)
{
    int different = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            different += std::max({std::abs(p.red() - q.red()), std::abs(p.green() - q.green()),
                                   std::abs(p.blue() - q.blue()), std::abs(p.alpha() - q.alpha())}) > 64;
        }
    return double(different) / (a.width() * a.height());
}

// The desktop's validators pass a file with an exit code of 0 even when they have remarks; a
// remark (a missing content rating, a deprecated key, a pedantic hint) is a fault here all the
// same, unless it names one of the `excused` tags.
void ExpectValid(const char* tool, const QStringList& args, const QStringList& excused = {})
{
    const QString path = Tool(tool);
    VELORIN_REQUIRE(!path.isEmpty(), tool);
    const Ran r = RunTool(path, args);
    EXPECT_EQ(r.exitCode, 0) << tool << ": " << r.output.toStdString();
    static const QRegularExpression remark(QStringLiteral(R"(^\s*[EWIP]: .*|: (error|warning|hint): .*)"),
                                           QRegularExpression::MultilineOption);
    for (auto it = remark.globalMatch(r.output); it.hasNext();) {
        const QString line = it.next().captured(0);
        if (std::none_of(excused.begin(), excused.end(), [&](const QString& tag) { return line.contains(tag); }))
            ADD_FAILURE() << tool << ": " << line.toStdString() << "\n" << r.output.toStdString();
    }
}

// What AppStream's validator says of the metainfo that is no fault of it. AppStream 0.16, Debian
// 12's, predates the <developer> element that 1.0 puts in place of the deprecated <developer_name>
// and calls it unknown. And the pedantic hint asks for an id in lower case, where the id also
// names the desktop file and the Wayland app id and keeps the program's name capitalised, as the
// store's own ids do.
QStringList AppStreamExcuses()
{
    QStringList excused{QStringLiteral(" cid-contains-uppercase-letter ")};
    if (RunTool(Tool("appstreamcli"), {"--version"}).output.contains(QRegularExpression(R"(version: 0\.)")))
        excused << QStringLiteral(" unknown-tag developer");
    return excused;
}

} // namespace

TEST(DesktopEntry, PassesDesktopFileValidate)
{
    ExpectValid("desktop-file-validate", {kSourceDir + "/src/app/resources/" + kAppId + ".desktop"});
}

TEST(Install, PutsProgramEntryMetainfoAndIconsWhereADesktopFindsThem)
{
    if (!QFileInfo(kProgram).isExecutable())
        GTEST_SKIP() << "the program is not built in " << kBuildDir.toStdString();
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const Ran install = RunTool(Tool("cmake"), {"--install", kBuildDir, "--prefix", prefix.path()});
    ASSERT_EQ(install.exitCode, 0) << install.output.toStdString();

    const QDir root(prefix.path());
    EXPECT_TRUE(QFileInfo(root.filePath("bin/velorin")).isExecutable());
    const QString entry = root.filePath("share/applications/" + kAppId + ".desktop");
    const QString metainfo = root.filePath("share/metainfo/" + kAppId + ".metainfo.xml");
    ASSERT_TRUE(QFileInfo::exists(entry));
    ASSERT_TRUE(QFileInfo::exists(metainfo));

    const QMap<QString, QString> desktop = EntryKeys(entry);
    EXPECT_EQ(desktop.value("Name"), "Velorin");
    EXPECT_FALSE(desktop.value("Comment").isEmpty());
    EXPECT_EQ(desktop.value("Exec"), "velorin");
    EXPECT_TRUE(desktop.value("Categories").contains("Electricity;"));
    EXPECT_TRUE(desktop.value("Keywords").contains("ohm;"));
    const QString icon = desktop.value("Icon");
    EXPECT_EQ(icon, kAppId);
    const QString iconFile = root.filePath("share/icons/hicolor/%1/apps/" + icon + ".%2");
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString file = iconFile.arg(QStringLiteral("%1x%1").arg(size), "png");
        const QImage image(file);
        ASSERT_FALSE(image.isNull()) << file.toStdString();
        EXPECT_EQ(image.size(), QSize(size, size));
        // A yellow warning triangle (over an eighth of the square) with transparent corners.
        int yellow = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const QColor c = image.pixelColor(x, y);
                yellow += c.alpha() == 255 && c.red() > 200 && c.green() > 160 && c.blue() < 80;
            }
        EXPECT_GT(yellow, size * size / 8) << size;
        EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << size;
    }
    // The scalable icon, drawn at the largest PNG's size, is that PNG.
    QImageReader svg(iconFile.arg("scalable", "svg"));
    svg.setScaledSize(QSize(256, 256));
    const QImage scalable = svg.read().convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(scalable.isNull()) << svg.errorString().toStdString();
    const QImage png = QImage(iconFile.arg("256x256", "png")).convertToFormat(QImage::Format_ARGB32);
    EXPECT_LT(ShareOfDifferentPixels(scalable, png), 0.005);

    ExpectValid("desktop-file-validate", {entry});
    ExpectValid("appstreamcli", {"validate", "--pedantic", "--no-net", "--explain", metainfo}, AppStreamExcuses());
    // The tree as a software centre reads it: the metainfo's launchable names an installed entry.
    ExpectValid("appstreamcli", {"validate-tree", "--pedantic", "--no-net", "--explain", prefix.path()},
                AppStreamExcuses());
}

// The package as the README builds it, `cpack -G DEB` in the build folder: what it holds, and the
// dependencies that dpkg-shlibdeps reads off the program rather than a list kept by hand.
TEST(Package, DebianPackageHoldsTheInstalledFilesAndTheProgramsComputedDependencies)
{
    if (!QFileInfo(kProgram).isExecutable())
        GTEST_SKIP() << "the program is not built in " << kBuildDir.toStdString();
    const QString cpack = Tool("cpack"), dpkgDeb = Tool("dpkg-deb");
    VELORIN_REQUIRE(!dpkgDeb.isEmpty() && !Tool("dpkg-shlibdeps").isEmpty(), "dpkg-dev");
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const Ran built = RunTool(cpack, {"-G", "DEB", "--config", kBuildDir + "/CPackConfig.cmake", "-B", out.path()});
    ASSERT_EQ(built.exitCode, 0) << built.output.toStdString();
    const QStringList debs = QDir(out.path()).entryList({"*.deb"}, QDir::Files);
    ASSERT_EQ(debs.size(), 1) << debs.join(' ').toStdString();
    const QString deb = out.filePath(debs[0]);

    QMap<QString, QString> fields;
    QString last;
    for (const QString& line : RunTool(dpkgDeb, {"--field", deb}).output.split('\n')) {
        if (line.startsWith(' '))
            fields[last] += '\n' + line.trimmed();
        else if (const qsizetype colon = line.indexOf(':'); colon > 0)
            fields[last = line.left(colon)] = line.mid(colon + 1).trimmed();
    }
    EXPECT_EQ(fields.value("Package"), "velorin");
    EXPECT_EQ(fields.value("Version"), "1.0");
    EXPECT_TRUE(fields.value("Maintainer").contains(QRegularExpression("^[^<]+ <[^@>]+@[^>]+>$")))
        << fields.value("Maintainer").toStdString();
    EXPECT_GE(fields.value("Description").count('\n'), 1) << "a summary and a longer description";
    for (const char* library : {"libc6", "libqt6core6", "libqt6widgets6"})
        EXPECT_TRUE(fields.value("Depends").contains(library)) << fields.value("Depends").toStdString();
    for (const char* loaded : {"qt6-wayland", "qt6-translations-l10n"})
        EXPECT_TRUE(fields.value("Recommends").contains(loaded)) << fields.value("Recommends").toStdString();

    const QString contents = RunTool(dpkgDeb, {"--contents", deb}).output;
    QStringList expected = {"bin/velorin",
                            "share/applications/" + kAppId + ".desktop",
                            "share/metainfo/" + kAppId + ".metainfo.xml",
                            "share/icons/hicolor/scalable/apps/" + kAppId + ".svg",
                            "share/man/man1/velorin.1.gz",
                            "share/doc/velorin/copyright",
                            "share/doc/velorin/changelog.gz"};
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        expected << QStringLiteral("share/icons/hicolor/%1x%1/apps/").arg(size) + kAppId + ".png";
    for (const QString& path : expected)
        EXPECT_TRUE(contents.contains(" ./usr/" + path + '\n')) << path.toStdString();
}
