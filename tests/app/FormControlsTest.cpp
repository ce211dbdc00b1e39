#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QWidget>
#include <functional>
#include <memory>
#include <gtest/gtest.h>

#include "ApplicationTestSupport.h"
#include "DarkPalettes.h"
#include "DevicePixelChecks.h"
#include "VelDevicePixels.h"
#include "FormControls.h"

namespace {

QFont WindowFont()
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(16);
    return f;
}

// A caption fits its text exactly as a plain QLabel sized by Qt would, whichever way the label
// takes to get there.
TEST(LabelAutoSize, FitsTheTextAsQtSizesALabel)
{
    QWidget window;
    window.setFont(WindowFont());
    QWidget buddy(&window);
    const struct {
        const char* text;
        bool withBuddy;
        bool wordWrap;
    } cases[] = {
        {"", false, false},
        {"Voltage = 0 Volt", false, false},
        {"Resistance = 999999.9 Ohms", false, false},
        {"Amperage = 1.23456789012345E-5 Amps", false, false},
        {"  leading and trailing blanks  ", false, false},
        {"two\nlines", false, false},
        {"tab\tstop", false, false},
        {"Calculation &of", true, false},
        {"MIT licence; no warranty. Wrapped within the label.", false, true},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        TLabel label(&window);
        QLabel reference(&window);
        reference.setTextFormat(Qt::PlainText);
        for (QLabel* l : {static_cast<QLabel*>(&label), &reference}) {
            l->setWordWrap(c.wordWrap);
            if (c.withBuddy)
                l->setBuddy(&buddy);
        }
        // A caption replaced, as Calculation replaces them.
        label.SetCaption(QStringLiteral("Voltage = 0 Volt"));
        label.SetCaption(text);
        reference.setText(QStringLiteral("Voltage = 0 Volt"));
        reference.setText(text);
        reference.adjustSize();
        EXPECT_EQ(label.size(), reference.size()) << c.text;
    }
}

// The same text again keeps the size it has, unless the font it was measured in has changed.
TEST(LabelAutoSize, RefitsTheSameTextAfterAFontChange)
{
    QWidget window;
    window.setFont(WindowFont());
    TLabel label(&window);
    label.SetCaption(QStringLiteral("Voltage = 3.3 Volts"));
    const QSize small = label.size();
    QFont larger = WindowFont();
    larger.setPixelSize(32);
    label.setFont(larger);
    label.SetCaption(QStringLiteral("Voltage = 3.3 Volts"));
    EXPECT_GT(label.width(), small.width());
    EXPECT_GT(label.height(), small.height());
}

TEST(ProgramIcon, IsOneIconDrawnFromTheFileOfEachSize)
{
    InitPictures();
    const QIcon icon = ProgramIcon();
    EXPECT_EQ(icon.cacheKey(), ProgramIcon().cacheKey()) << "built once";
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {128, 128}, {256, 256}}));
    const struct {
        int asked;
        int given;
    } cases[] = {{16, 16}, {48, 48}, {100, 100}, {128, 128}, {256, 256}, {512, 256}};
    for (const auto& c : cases)
        EXPECT_EQ(icon.pixmap(c.asked).size(), QSize(c.given, c.given)) << c.asked;
    for (const int size : {16, 24, 32, 48, 128, 256}) {
        // Compared premultiplied, as a pixmap keeps it: taking the alpha back out rounds
        // differently on ARM than on x86.
        const auto premultiplied = QImage::Format_ARGB32_Premultiplied;
        const QImage file = QImage(QStringLiteral(":/icons/velorin-%1.png").arg(size)).convertToFormat(premultiplied);
        EXPECT_EQ(icon.pixmap(size).toImage().convertToFormat(premultiplied), file) << size;
    }
}

// The About box's panel (a lowered ring around a raised one) and the main window's group bevels
// (one lowered ring) lie on whole device pixels: every ring as thick as a line at every scale, in
// the palette's own shades, light or dark.
TEST(Bevels, RingsAreEvenAtEveryScaleInEveryPalette)
{
    const struct {
        const char* name;
        std::function<QWidget*()> make;
        bool raisedInside;
    } kinds[] = {{"panel", [] { return new TPanel; }, true}, {"bevel", [] { return new TBevel; }, false}};
    for (const auto& kind : kinds)
        for (const QPalette& palette : {QApplication::palette(), BreezeDark(), AdwaitaDark()})
            for (const qreal dpr : {1.0, 1.25, 1.5, 1.75, 2.0, 3.0}) {
                SCOPED_TRACE(testing::Message()
                             << kind.name << " " << palette.color(QPalette::Window).name().toStdString() << " at "
                             << dpr);
                const std::unique_ptr<QWidget> widget(kind.make());
                widget->setPalette(palette);
                widget->resize(281, 129);
                QImage image(QSize(281, 129) * dpr, QImage::Format_RGB32);
                image.setDevicePixelRatio(dpr);
                image.fill(Qt::red);
                widget->render(&image);
                const QRgb dark = palette.color(QPalette::Dark).rgb(), light = palette.color(QPalette::Light).rgb();
                const QPoint mid(image.width() / 2, image.height() / 2);
                const struct {
                    QPoint from, step;
                    QRgb outer, inner;
                } sides[] = {{{0, mid.y()}, {1, 0}, dark, light},
                             {{mid.x(), 0}, {0, 1}, dark, light},
                             {{image.width() - 1, mid.y()}, {-1, 0}, light, dark},
                             {{mid.x(), image.height() - 1}, {0, -1}, light, dark}};
                for (const auto& side : sides) {
                    const std::vector<RingRun> runs = RingRuns(image, side.from, side.step, image.pixel(mid));
                    ASSERT_EQ(runs.size(), kind.raisedInside ? 2u : 1u);
                    EXPECT_EQ(runs[0].color, side.outer);
                    EXPECT_EQ(runs[0].length, VelLineWidth(dpr));
                    if (kind.raisedInside) {
                        EXPECT_EQ(runs[1].color, side.inner);
                        EXPECT_EQ(runs[1].length, VelLineWidth(dpr));
                    }
                }
            }
}

} // namespace
