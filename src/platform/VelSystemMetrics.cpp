#include "VelSystemMetrics.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QStyle>
#include <QStyleHints>

namespace {

// What the classic desktop used before any setting was read; only reached without a Qt
// application, where there is no desktop to ask.
constexpr unsigned kClassicDoubleClickTime = 500;
constexpr int kClassicDoubleClickDistance = 2;
constexpr int kClassicCheckBoxGlyph = 13;

QStyleHints* Hints()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::styleHints() : nullptr;
}

int DoubleClickBox()
{
    const QStyleHints* hints = Hints();
    return 2 * (hints ? hints->mouseDoubleClickDistance() : kClassicDoubleClickDistance);
}

int DragBox()
{
    const QStyleHints* hints = Hints();
    return 2 * (hints ? hints->startDragDistance() : kClassicDoubleClickDistance);
}

} // namespace

unsigned VelGetDoubleClickTime()
{
    const QStyleHints* hints = Hints();
    const int time = hints ? hints->mouseDoubleClickInterval() : 0;
    return time > 0 ? static_cast<unsigned>(time) : kClassicDoubleClickTime;
}

int VelGetSystemMetrics(int Index)
{
    switch (Index) {
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return DoubleClickBox();
    case SM_CXDRAG:
    case SM_CYDRAG: return DragBox();
    default: return 0;
    }
}

QSize VelCheckBoxGlyphSize()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return {kClassicCheckBoxGlyph, kClassicCheckBoxGlyph};
    const QStyle* style = QApplication::style();
    const int width = style->pixelMetric(QStyle::PM_IndicatorWidth);
    const int height = style->pixelMetric(QStyle::PM_IndicatorHeight);
    return {width > 0 ? width : kClassicCheckBoxGlyph, height > 0 ? height : kClassicCheckBoxGlyph};
}

std::int64_t VelQueryPerformanceCounter()
{
    static const QElapsedTimer origin = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return origin.nsecsElapsed();
}

std::int64_t VelQueryPerformanceFrequency()
{
    return 1'000'000'000;
}
