#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <unistd.h>
#include <vector>

#include "VelClass.h"
#include "VelMessageEvent.h"
#include "VelSystemMetrics.h"

namespace {

// A window or control that notes every platform message it is sent, with its name.
class TRecordingWidget : public QWidget {
public:
    TRecordingWidget(const char* Name, std::vector<std::pair<QString, unsigned>>& Log, QWidget* Parent = nullptr)
        : QWidget(Parent), log_(Log)
    {
        setObjectName(QString::fromLatin1(Name));
    }

protected:
    bool event(QEvent* Event) override
    {
        if (Event->type() != TVelMessageEvent::EventType())
            return QWidget::event(Event);
        log_.emplace_back(objectName(), static_cast<TVelMessageEvent*>(Event)->Message.Msg);
        return true;
    }

private:
    std::vector<std::pair<QString, unsigned>>& log_;
};

TEST(LibraryApplication, StartsWithAnIdleFastPoolAndPlatformValues)
{
    TVelApplication app(QString{});
    ASSERT_NE(app.TimerPool(), nullptr);
    EXPECT_EQ(app.TimerPool()->MinInterval(), 50);
    EXPECT_FALSE(app.TimerPool()->Active());
    EXPECT_EQ(app.TimerPool()->Window(), nullptr);
    EXPECT_EQ(app.TimerSlotsInUse(), 0);
    EXPECT_EQ(app.PerformanceFrequency(), VelQueryPerformanceFrequency());
    EXPECT_FALSE(app.CheckBoxGlyphSize().isEmpty());
    EXPECT_TRUE(app.ThemedEditFill());
    EXPECT_FALSE(app.PreviousInstance());
}

TEST(LibraryApplication, RegistryHandsOutTheLowestFreeSlot)
{
    TVelApplication app(QString{});
    EXPECT_EQ(app.RegisterTimer(50, {}), 0xFD01);
    EXPECT_EQ(app.RegisterTimer(100, {}), 0xFD02);
    EXPECT_EQ(app.RegisterTimer(100, {}), 0xFD03);
    app.UnregisterTimer(0xFD02);
    EXPECT_EQ(app.FindTimer(0xFD02), nullptr);
    app.UnregisterTimer(kVelTimerIdentBase);
    EXPECT_EQ(app.TimerSlotsInUse(), 2);
    EXPECT_EQ(app.RegisterTimer(50, {}), 0xFD02);
    EXPECT_EQ(app.FindTimer(0xFD02)->Interval(), 50);
}

TEST(LibraryApplication, PatternBitmapIsACheckerOfTheColourAndWhite)
{
    TVelApplication app(QString{});
    const QImage& first = app.PatternBitmap(Qt::red);
    ASSERT_EQ(first.size(), QSize(8, 8));
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 8; ++j)
            EXPECT_EQ(first.pixelColor(i, j), (i % 2 != j % 2) ? QColor(Qt::red) : QColor(Qt::white)) << i << "," << j;
    const qint64 key = first.cacheKey();
    const QImage& again = app.PatternBitmap(Qt::red);
    EXPECT_EQ(&again, &first);
    EXPECT_EQ(again.cacheKey(), key) << "the same colour does not redraw";
    EXPECT_EQ(app.PatternBitmap(Qt::blue).pixelColor(1, 0), QColor(Qt::blue));
    EXPECT_EQ(app.PatternBitmap(Qt::blue).pixelColor(1, 1), QColor(Qt::white));
}

TEST(LibraryApplication, TheSecondObjectOnARecordSeesThePreviousInstance)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("PROGRAM.instance"));
    auto first = std::make_unique<TVelApplication>(path);
    EXPECT_FALSE(first->PreviousInstance());
    TVelApplication second(path);
    EXPECT_TRUE(second.PreviousInstance());
    EXPECT_EQ(second.PreviousInstanceProcess(), static_cast<std::uint32_t>(::getpid()));
    first.reset();
    TVelApplication third(path);
    EXPECT_TRUE(third.PreviousInstance()) << "the second still runs";
}

TEST(LibraryApplication, ThemeBroadcastReachesAVisibleWindowAndItsControls)
{
    TVelApplication app(QString{});
    std::vector<std::pair<QString, unsigned>> log;
    TRecordingWidget form("form", log);
    auto* panel = new TRecordingWidget("panel", log, &form);
    new TRecordingWidget("edit", log, panel);
    new TRecordingWidget("button", log, &form);
    TRecordingWidget hidden("hidden", log);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    hidden.winId();

    app.BroadcastThemeChange();
    std::vector<std::pair<QString, unsigned>> ours;
    for (const auto& entry : log)
        if (entry.second == CM_THEMEMODECHANGED || entry.second == WM_THEMECHANGED)
            ours.push_back(entry);
    auto index = [&](const char* name, unsigned msg) {
        const auto it = std::find(ours.begin(), ours.end(), std::make_pair(QString::fromLatin1(name), msg));
        return it == ours.end() ? -1 : static_cast<int>(it - ours.begin());
    };
    EXPECT_EQ(index("hidden", WM_THEMECHANGED), -1);
    EXPECT_GE(index("hidden", CM_THEMEMODECHANGED), 0);
    EXPECT_EQ(index("edit", CM_THEMEMODECHANGED), -1) << "only direct children hear the mode change";
    const int order[] = {
        index("form", CM_THEMEMODECHANGED), index("panel", CM_THEMEMODECHANGED), index("button", CM_THEMEMODECHANGED),
        index("panel", WM_THEMECHANGED),    index("edit", WM_THEMECHANGED),      index("button", WM_THEMECHANGED),
        index("form", WM_THEMECHANGED),
    };
    for (std::size_t i = 0; i < std::size(order); ++i) {
        EXPECT_GE(order[i], 0) << i;
        if (i > 0) {
            EXPECT_GT(order[i], order[i - 1]) << i;
        }
    }
}

TEST(LibraryApplication, FreeingTheGlobalObjectTakesItsSharedTimersAlong)
{
    auto timer = std::make_unique<TVelTimer>(100, true, true, TNotifyEvent{});
    ASSERT_NE(VelApplication()->FindTimer(timer->Identifier()), nullptr);
    VelFreeApplication();
    EXPECT_EQ(VelApplicationIfExists(), nullptr);
    timer->SetEnabled(false);
    timer.reset();
    EXPECT_NE(VelApplication(), nullptr) << "asked for again, the library has one anew";
    EXPECT_EQ(VelApplication()->TimerSlotsInUse(), 0);
}

} // namespace
