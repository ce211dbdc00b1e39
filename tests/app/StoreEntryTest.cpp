// What a software centre shows of the program beyond what its validator checks: the brand colours
// carry the store's text, and the summary keeps its rules.
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

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
