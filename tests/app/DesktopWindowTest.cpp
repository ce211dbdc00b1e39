// How the windows meet the desktop: keyboard and assistive technology, the frame a screen reader
// sees, icons, and the pictures at a screen scale of 2 or under a dark style sheet.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCoreApplication>
#include <QImageReader>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "About.h"
#include "DarkPalettes.h"
#include "ApplicationTestSupport.h"
#include "FormControls.h"
#include "Main.h"
#include "StringGrid.h"
#include "VelExtSpinEdit.h"

namespace {

class DesktopWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitPictures();
        form = std::make_unique<TForm1>(nullptr, [this](const QString& handler, QObject*) { calls.append(handler); });
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        calls.clear();
    }

    std::unique_ptr<TForm1> form;
    QStringList calls;
};

void DoAccessibleAction(QObject* object, const QString& action)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    ASSERT_TRUE(iface);
    ASSERT_TRUE(iface->actionInterface());
    ASSERT_TRUE(iface->actionInterface()->actionNames().contains(action));
    iface->actionInterface()->doAction(action);
}

// A screen reader's toggle action checks the button without a click; the mode must follow, or
// the window shows "Amperage" chosen with the amperage input still visible.
TEST_F(DesktopWindowTest, ScreenReaderToggleSwitchesTheMode)
{
    DoAccessibleAction(form->RadioGroup1->Button(1), QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(form->RadioGroup1->ItemIndex(), 1);
    EXPECT_TRUE(form->Amp->isHidden());
    EXPECT_FALSE(form->Volt->isHidden());
    EXPECT_EQ(calls.count("RadioGroup1Click"), 1);

    // The item already chosen: nothing changes, nothing fires.
    DoAccessibleAction(form->RadioGroup1->Button(1), QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(calls.count("RadioGroup1Click"), 1);
    form->RadioGroup1->SetItemIndex(2);
    EXPECT_EQ(calls.count("RadioGroup1Click"), 1) << "an assignment from code is no user's choice";
}

TEST_F(DesktopWindowTest, EnterAndSpacePressTheFocusedButton)
{
    form->Amp->SetValue(2);
    form->Resistance->SetValue(3);
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int rowsAfter;
    } cases[] = {{Qt::Key_Return, Qt::NoModifier, 3},
                 {Qt::Key_Enter, Qt::KeypadModifier, 4},
                 {Qt::Key_Space, Qt::NoModifier, 5},
                 {Qt::Key_Return, Qt::ControlModifier, 5}};
    for (const auto& c : cases) {
        form->StoreBB->setFocus();
        QTest::keyClick(form->StoreBB, c.key, c.modifiers);
        EXPECT_EQ(form->ResultSG->RowCount(), c.rowsAfter) << QTest::toString(c.key);
    }
    // A held Enter presses once.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), /*autorep=*/true);
    QCoreApplication::sendEvent(form->StoreBB, &repeat);
    EXPECT_EQ(form->ResultSG->RowCount(), 5);
}

TEST_F(DesktopWindowTest, AboutBoxKeepsEnterForItsDefaultButton)
{
    TAboutBox box(form.get());
    box.ShowModeless();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    EXPECT_TRUE(box.OKButton->isDefault());
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_FALSE(box.isVisible());
}

TEST_F(DesktopWindowTest, ScreenReadersSeeAFrameNamedVelorinWithTheIcon)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(form.get());
    ASSERT_TRUE(iface);
    EXPECT_EQ(iface->role(), QAccessible::Window);
    EXPECT_EQ(iface->text(QAccessible::Name), "Velorin");
    for (const QSize size : {QSize(48, 48), QSize(128, 128), QSize(256, 256)})
        EXPECT_TRUE(form->windowIcon().availableSizes().contains(size)) << size.width();
    TAboutBox box(form.get());
    EXPECT_FALSE(box.windowIcon().isNull());
}

// Black and white pixels of a picture, compared with the grab of the image control.
int MismatchedPixels(const QImage& grabbed, const QImage& picture)
{
    int wrong = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            wrong += (qGray(grabbed.pixel(x, y)) < 128) != (qGray(picture.pixel(x, y)) < 128);
    return wrong;
}

// A dark style sheet recolours and reshapes widgets; the picture must still show as drawn, where
// it was placed, its black and white now the dark palette's text and base colours.
TEST_F(DesktopWindowTest, FormulaKeepsItsShapeUnderADarkStyleSheet)
{
    form->setStyleSheet("QWidget { background-color: #1e1e1e; color: #f0f0f0; }"
                        "QLabel { border: 6px solid #f0f0f0; padding: 4px; }");
    QPalette dark = form->palette();
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::WindowText, QColor(240, 240, 240));
    form->setPalette(dark);
    QCoreApplication::processEvents();
    const QImage grabbed = form->Image1->grab().toImage();
    const QImage picture(":/pictures/formula.bmp");
    ASSERT_EQ(grabbed.size(), picture.size());
    const QColor ink = form->Image1->palette().color(QPalette::Text);
    const QColor paper = form->Image1->palette().color(QPalette::Base);
    int wrong = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            wrong += grabbed.pixelColor(x, y) != (qGray(picture.pixel(x, y)) < 128 ? ink : paper);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(grabbed.pixelColor(0, 0), paper);
}

// The scale is fixed when the application starts, so the check runs in a copy of this test
// binary started with QT_SCALE_FACTOR=2.
TEST(DoubleScale, PicturesAreDrawnFromTheirDoubleSizeVersions)
{
    if (qApp->devicePixelRatio() < 2.0) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_SCALE_FACTOR", "2");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=DoubleScale.*"});
        ASSERT_TRUE(child.waitForFinished(120000));
        const QString out = QString::fromLocal8Bit(child.readAll());
        EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
        EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
        return;
    }
    InitPictures();
    TForm1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.Image1->size(), QSize(201, 194)) << "the picture keeps its size on the screen";

    const QImage grabbed = form.Image1->grab().toImage();
    EXPECT_EQ(grabbed.devicePixelRatio(), 2.0);
    const QImage sharp(":/pictures/formula@2x.bmp");
    ASSERT_EQ(grabbed.size(), sharp.size());
    // Every device pixel as drawn at twice the size; the 1x picture blown up would miss the
    // finer strokes along every edge.
    EXPECT_EQ(MismatchedPixels(grabbed, sharp), 0);

    TAboutBox box(&form);
    EXPECT_EQ(box.ProgramIcon->Picture().devicePixelRatio(), 2.0);
    EXPECT_EQ(box.ProgramIcon->Picture().size(), QSize(504, 504));
    EXPECT_EQ(box.Image1->Picture().size(), QSize(166, 200));
    EXPECT_EQ(box.Image1->Picture().deviceIndependentSize().toSize(), QSize(83, 100));
}

} // namespace

// The formula picture is 1 bit deep: on a dark desktop its two colours become the palette's text
// and base colours, and at a scale it was not drawn for it is resampled smoothly rather than with
// every other pixel dropped.
TEST(FormulaPicture, InkAndPaperFollowTheDesktopAtEveryScale)
{
    InitPictures();
    struct {
        const char* name;
        QPalette palette;
        qreal dpr;
        const char* source;
    } const cases[] = {
        {"Breeze Dark", BreezeDark(), 1.0, ":/pictures/formula.bmp"},
        {"Adwaita-Dark", AdwaitaDark(), 2.0, ":/pictures/formula@2x.bmp"},
        {"light at 1.5", QApplication::palette(), 1.5, ":/pictures/formula@2x.bmp"},
        {"Breeze Dark at 1.25", BreezeDark(), 1.25, ":/pictures/formula@2x.bmp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TImage image;
        image.setPalette(c.palette);
        image.SetAutoSize(true);
        image.SetInkOnPaper(true);
        image.SetPicture(QPixmap::fromImage(QImageReader(c.source).read().convertToFormat(QImage::Format_RGB32)));
        ASSERT_EQ(image.size(), QSize(201, 194));
        QImage shown(QSize(201, 194) * c.dpr, QImage::Format_RGB32);
        shown.setDevicePixelRatio(c.dpr);
        shown.fill(Qt::red);
        image.render(&shown);
        const bool dark = c.palette.color(QPalette::Window).lightness() < 128;
        const QColor ink = dark ? c.palette.color(QPalette::Text) : QColor(Qt::black);
        const QColor paper = dark ? c.palette.color(QPalette::Base) : QColor(Qt::white);
        EXPECT_GE(Contrast(ink, paper), 4.5);
        // Whole scales: every pixel is ink or paper, where the picture has black or white.
        // Fractional ones: tones between the two along the strokes, and nothing else.
        const QImage source(c.source);
        int between = 0, wrong = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QColor px = shown.pixelColor(x, y);
                if (c.dpr == std::floor(c.dpr)) {
                    const bool black = qGray(source.pixel(x * source.width() / shown.width(),
                                                          y * source.height() / shown.height())) < 128;
                    wrong += px != (black ? ink : paper);
                    continue;
                }
                const float t = float(px.red() - ink.red()) / float(paper.red() - ink.red());
                const QColor expected = QColor::fromRgbF(ink.redF() + t * (paper.redF() - ink.redF()),
                                                         ink.greenF() + t * (paper.greenF() - ink.greenF()),
                                                         ink.blueF() + t * (paper.blueF() - ink.blueF()));
                wrong += t < -0.01f || t > 1.01f || std::abs(px.green() - expected.green()) > 2;
                between += px != ink && px != paper;
            }
        EXPECT_EQ(wrong, 0);
        if (c.dpr != std::floor(c.dpr)) {
            EXPECT_GT(between, 500) << "smoothed strokes";
        }
    }
}
