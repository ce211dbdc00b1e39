#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

#include "ApplicationTestSupport.h"
#include "FormControls.h"

namespace {

TEST(ProgramIcon, IsOneIconDrawnFromTheFileOfEachSize)
{
    InitPictures();
    const QIcon icon = ProgramIcon();
    EXPECT_EQ(icon.cacheKey(), ProgramIcon().cacheKey()) << "built once";
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{48, 48}, {128, 128}, {256, 256}}));
    const struct {
        int asked;
        int given;
    } cases[] = {{16, 16}, {48, 48}, {100, 100}, {128, 128}, {256, 256}, {512, 256}};
    for (const auto& c : cases)
        EXPECT_EQ(icon.pixmap(c.asked).size(), QSize(c.given, c.given)) << c.asked;
    for (const int size : {48, 128, 256}) {
        const QImage file(QStringLiteral(":/icons/velorin-%1.png").arg(size));
        EXPECT_EQ(icon.pixmap(size).toImage().convertToFormat(file.format()), file) << size;
    }
}

} // namespace
