// What a software centre shows of the program beyond what its validator checks: the icon keeps the
// store's margin at every size and stands out from light and dark desktops and from the entry's
// own brand colours, the brand colours carry the store's text, and the summary keeps its rules.
#include <QFile>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <utility>

#include "DarkPalettes.h"
#include "DesktopToolSupport.h"

namespace {

const QString kResources = kSourceDir + QStringLiteral("/src/app/resources/");

// The metainfo's brand colours by scheme ("light", "dark"), and its summary under "summary".
QMap<QString, QString> EntryTexts()
{
    QMap<QString, QString> texts;
    QFile file(kResources + kAppId + ".metainfo.xml");
    if (!file.open(QIODevice::ReadOnly))
        return texts;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"summary")
            texts.insert("summary", xml.readElementText());
        else if (xml.name() == u"color" && xml.attributes().value("type") == u"primary") {
            const QString scheme = xml.attributes().value("scheme_preference").toString();
            texts.insert(scheme, xml.readElementText());
        }
    }
    return texts;
}

// Pixels where the drawing is at least half opaque.
bool Solid(const QImage& icon, int x, int y)
{
    return x >= 0 && y >= 0 && x < icon.width() && y < icon.height() && qAlpha(icon.pixel(x, y)) >= 128;
}

// Outline pixels of the drawing (solid, beside a pixel that is not) with no pixel within one step
// that stands out 3:1 from the background: where the drawing's edge melts into it.
int MeltingEdgePixels(const QImage& icon, const QColor& background)
{
    QImage seen(icon.size(), QImage::Format_ARGB32);
    seen.fill(background);
    QPainter(&seen).drawImage(0, 0, icon);
    const auto standsOut = [&](int x, int y) {
        return Solid(icon, x, y) && Contrast(seen.pixelColor(x, y), background) >= 3.0;
    };
    int melting = 0;
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x) {
            const bool edge = Solid(icon, x, y) && !(Solid(icon, x - 1, y) && Solid(icon, x + 1, y) &&
                                                     Solid(icon, x, y - 1) && Solid(icon, x, y + 1));
            bool visible = false;
            for (int dy = -1; dy <= 1 && edge && !visible; ++dy)
                for (int dx = -1; dx <= 1 && !visible; ++dx)
                    visible = standsOut(x + dx, y + dy);
            melting += edge && !visible;
        }
    return melting;
}

class StoreIcon : public ::testing::TestWithParam<int> {};

TEST_P(StoreIcon, KeepsTheGridsMarginAndStandsOutFromEveryBackground)
{
    const int size = GetParam();
    const QImage icon =
        QImage(kResources + QStringLiteral("icons/velorin-%1.png").arg(size)).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(icon.size(), QSize(size, size));

    // The store's icon grid keeps a sixteenth of the canvas free on every side; the drawing still
    // fills three quarters of it, centred.
    QRect drawn;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (qAlpha(icon.pixel(x, y)) > 0)
                drawn |= QRect(x, y, 1, 1);
    const int margin = size / 16;
    EXPECT_GE(std::min({drawn.left(), drawn.top(), size - 1 - drawn.right(), size - 1 - drawn.bottom()}), margin);
    EXPECT_GE(std::max(drawn.width(), drawn.height()), size * 3 / 4);
    EXPECT_LE(std::abs(drawn.left() - (size - 1 - drawn.right())), 1);

    const QMap<QString, QString> entry = EntryTexts();
    const std::pair<const char*, QColor> backgrounds[] = {
        {"white", Qt::white},
        {"Breeze window", QColor(239, 240, 241)},
        {"Breeze Dark window", BreezeDark().color(QPalette::Window)},
        {"Adwaita Dark window", AdwaitaDark().color(QPalette::Window)},
        {"light brand colour", QColor(entry.value("light"))},
        {"dark brand colour", QColor(entry.value("dark"))},
    };
    for (const auto& [name, background] : backgrounds) {
        ASSERT_TRUE(background.isValid()) << name;
        EXPECT_EQ(MeltingEdgePixels(icon, background), 0) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, StoreIcon, ::testing::Values(16, 22, 24, 32, 48, 64, 128, 256));

// The store sets the program's name and summary on the brand colour: dark text on the light one,
// light text on the dark one.
TEST(StoreEntry, BrandColoursCarryTheStoresTextAndTheSummaryKeepsItsRules)
{
    const QMap<QString, QString> entry = EntryTexts();
    EXPECT_GE(Contrast(QColor(entry.value("light")), Qt::black), 4.5);
    EXPECT_GE(Contrast(QColor(entry.value("dark")), Qt::white), 4.5);

    // At most 35 characters, a capital first, no final stop, no article, not the name again.
    const QString summary = entry.value("summary");
    EXPECT_TRUE(!summary.isEmpty() && summary.size() <= 35 && summary.front().isUpper() && !summary.endsWith('.') &&
                !summary.contains(QRegularExpression("^(A|An|The) |Velorin")))
        << summary.toStdString();
}

} // namespace
