#include <gtest/gtest.h>

#include <QBitmap>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <memory>

#include "VelSystemCaret.h"

namespace {

TVelSystemCaret& Caret()
{
    return TVelSystemCaret::ForThisThread();
}

// Every test leaves the thread's caret and the blink time as it found them.
class SystemCaret : public ::testing::Test {
protected:
    void SetUp() override { savedBlinkTime_ = VelGetCaretBlinkTime(); }
    void TearDown() override
    {
        VelDestroyCaret();
        VelSetCaretBlinkTime(savedBlinkTime_);
    }

private:
    unsigned savedBlinkTime_ = 0;
};

TEST_F(SystemCaret, ShowAndHideAreCountedLikeTheClassicCaret)
{
    QWidget owner;
    ASSERT_TRUE(VelCreateCaret(&owner, 2, 10));
    // Each row: operation, expected hide count afterwards.
    const struct {
        bool show;
        int count;
    } steps[] = {
        {true, 0}, {true, 0}, {false, 1}, {false, 2}, {true, 1}, {true, 0},
    };
    EXPECT_EQ(Caret().HideCount(), 1) << "a new caret starts hidden";
    for (const auto& step : steps) {
        EXPECT_TRUE(step.show ? VelShowCaret(&owner) : VelHideCaret(&owner));
        EXPECT_EQ(Caret().HideCount(), step.count);
        EXPECT_EQ(Caret().Visible(), step.count == 0);
    }
}

TEST_F(SystemCaret, BelongsToOneWidgetAtATime)
{
    QWidget first, second;
    VelCreateCaret(&first, 1, 12);
    EXPECT_FALSE(VelShowCaret(&second));
    EXPECT_TRUE(VelShowCaret(nullptr)) << "no widget means whoever owns it";
    VelCreateCaret(&second, 1, 12);
    EXPECT_EQ(Caret().Owner(), &second);
    EXPECT_FALSE(VelHideCaret(&first));
    EXPECT_EQ(Caret().HideCount(), 1) << "the new caret starts hidden again";
}

TEST_F(SystemCaret, GoesWithItsOwner)
{
    auto owner = std::make_unique<QWidget>();
    VelCreateCaret(owner.get(), 2, 10);
    VelShowCaret(owner.get());
    owner.reset();
    EXPECT_FALSE(Caret().Exists());
    EXPECT_FALSE(VelSetCaretPos(1, 1));
    EXPECT_FALSE(VelDestroyCaret());
    EXPECT_FALSE(Caret().Blinking());
}

TEST_F(SystemCaret, MovingShowsTheCaretAtOnceAndRestartsTheBlink)
{
    VelSetCaretBlinkTime(400);
    QWidget owner;
    VelCreateCaret(&owner, 2, 10);
    VelShowCaret(&owner);
    Caret().Blink();
    EXPECT_FALSE(Caret().PhaseOn());
    EXPECT_TRUE(VelSetCaretPos(5, 3));
    EXPECT_TRUE(Caret().PhaseOn());
    EXPECT_EQ(VelGetCaretPos(), QPoint(5, 3));
    EXPECT_EQ(Caret().Rect(), QRect(5, 3, 2, 10));
    EXPECT_TRUE(Caret().Blinking());
}

TEST_F(SystemCaret, BlinkTimeIsProcessWideAndASteadyValueStopsTheBlink)
{
    QWidget owner;
    VelCreateCaret(&owner, 1, 10);
    VelShowCaret(&owner);
    const struct {
        unsigned time;
        bool blinking;
    } rows[] = {{530, true}, {0, false}, {250, true}, {kVelCaretNoBlink, false}};
    for (const auto& row : rows) {
        VelSetCaretBlinkTime(row.time);
        EXPECT_EQ(VelGetCaretBlinkTime(), row.time);
        EXPECT_EQ(Caret().Blinking(), row.blinking) << row.time;
        EXPECT_TRUE(Caret().PhaseOn()) << "a steady caret stays on";
    }
}

TEST_F(SystemCaret, BlinksOnTheEventLoop)
{
    VelSetCaretBlinkTime(10);
    QWidget owner;
    VelCreateCaret(&owner, 1, 10);
    VelShowCaret(&owner);
    EXPECT_TRUE(QTest::qWaitFor([] { return !Caret().PhaseOn(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([] { return Caret().PhaseOn(); }, 5000));
}

QImage Painted(QWidget& Owner, QImage::Format Format, QColor Background)
{
    QImage image(12, 16, Format);
    image.fill(Background);
    QPainter painter(&image);
    VelPaintCaret(&Owner, painter);
    return image;
}

TEST_F(SystemCaret, PaintsByInvertingWhatLiesBeneath)
{
    QWidget owner;
    VelCreateCaret(&owner, 2, 10);
    VelSetCaretPos(3, 4);
    VelShowCaret(&owner);
    const QRect caret(3, 4, 2, 10);
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
        const QImage image = Painted(owner, format, QColor(0x20, 0x80, 0xF0));
        for (const QPoint p : {caret.topLeft(), caret.bottomRight(), QPoint(2, 4), QPoint(5, 4), QPoint(3, 14)}) {
            const QColor expected = caret.contains(p) ? QColor(0xDF, 0x7F, 0x0F) : QColor(0x20, 0x80, 0xF0);
            EXPECT_EQ(image.pixelColor(p), expected) << format << " at " << p.x() << "," << p.y();
        }
    }
}

TEST_F(SystemCaret, PaintsNothingWhenHiddenOffPhaseOrForAnotherWidget)
{
    QWidget owner, other;
    VelCreateCaret(&owner, 2, 10);
    const QColor white(Qt::white);
    auto untouched = [&](QWidget& w) { return Painted(w, QImage::Format_RGB32, white).pixelColor(0, 0) == white; };
    EXPECT_TRUE(untouched(owner)) << "created hidden";
    VelShowCaret(&owner);
    EXPECT_FALSE(untouched(owner));
    EXPECT_TRUE(untouched(other));
    Caret().Blink();
    EXPECT_TRUE(untouched(owner)) << "off phase";
}

TEST_F(SystemCaret, ABitmapCaretInvertsOnlyItsSetPixels)
{
    QWidget owner;
    QBitmap shape(2, 2);
    shape.clear();
    {
        QPainter p(&shape);
        p.setPen(Qt::color1);
        p.drawPoint(0, 0);
        p.drawPoint(1, 1);
    }
    ASSERT_TRUE(VelCreateCaret(&owner, shape));
    EXPECT_EQ(Caret().Rect().size(), QSize(2, 2));
    VelShowCaret(&owner);
    const QImage image = Painted(owner, QImage::Format_RGB32, Qt::white);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(1, 0), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(0, 1), QColor(Qt::white));
}

// Draws its text area under the hider and the caret last, as an edit does.
class TCaretOwner : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override
    {
        ++paints;
        QPainter painter(this);
        {
            TVelCaretHider hider(this);
            painter.fillRect(rect(), Qt::white);
        }
        VelPaintCaret(this, painter);
    }
};

TEST_F(SystemCaret, HidingWhileDrawingAsksForNoFurtherFrame)
{
    VelSetCaretBlinkTime(kVelCaretNoBlink);
    TCaretOwner owner;
    owner.resize(40, 20);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    VelCreateCaret(&owner, 2, 12);
    VelSetCaretPos(10, 4);
    VelShowCaret(&owner);
    const QImage frame = owner.grab().toImage();
    EXPECT_EQ(frame.pixelColor(10, 4), QColor(Qt::black));
    EXPECT_EQ(frame.pixelColor(12, 4), QColor(Qt::white));
    QTest::qWait(50);
    const int settled = owner.paints;
    QTest::qWait(200);
    EXPECT_EQ(owner.paints, settled);
    EXPECT_TRUE(Caret().Visible());
}

} // namespace
