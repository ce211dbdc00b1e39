#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "VelCustomPanel.h"
#include "VelGraphicControl.h"

namespace {

std::vector<std::string>* gLog = nullptr;

void Log(const std::string& s)
{
    if (gLog)
        gLog->push_back(s);
}

class TProbeGraphic : public TVelGraphicControl {
public:
    explicit TProbeGraphic(std::string name) : name_(std::move(name)) {}
    std::vector<std::pair<unsigned, QPoint>> mouse;
    std::vector<bool> captured;
    bool leftHalfOnly = false;
    QColor fill = Qt::red;

    bool HitTest(QPoint pos) const override
    {
        return leftHalfOnly ? pos.x() < Width() / 2 : TVelGraphicControl::HitTest(pos);
    }
    void Paint(QPainter& canvas) override { canvas.fillRect(QRect(-50, -50, 500, 500), fill); }

protected:
    void WndProc(TMessage& m) override
    {
        if (m.Msg >= WM_MOUSEMOVE && m.Msg <= WM_RBUTTONUP) {
            mouse.emplace_back(m.Msg, PointFromLParam(m.LParam));
            captured.push_back(MouseCapture());
        }
        if (m.Msg == CM_MOUSEENTER)
            Log(name_ + " enter");
        if (m.Msg == CM_MOUSELEAVE)
            Log(name_ + " leave");
        TVelGraphicControl::WndProc(m);
    }

private:
    std::string name_;
};

class TProbeParent : public TVelCustomPanel {
public:
    using TVelCustomPanel::TVelCustomPanel;
    std::vector<unsigned> mouse;

protected:
    void WndProc(TMessage& m) override
    {
        if (m.Msg >= WM_MOUSEMOVE && m.Msg <= WM_RBUTTONUP)
            mouse.push_back(m.Msg);
        TVelCustomPanel::WndProc(m);
    }
    void MouseEntered() override
    {
        Log("parent enter");
        TVelCustomPanel::MouseEntered();
    }
    void MouseLeft() override
    {
        Log("parent leave");
        TVelCustomPanel::MouseLeft();
    }
};

struct Fixture {
    QWidget window;
    TProbeParent* parent = new TProbeParent(&window);
    std::unique_ptr<TProbeGraphic> child = std::make_unique<TProbeGraphic>("child");
    std::vector<std::string> log;
    Fixture()
    {
        gLog = &log;
        parent->setGeometry(0, 0, 100, 40);
        child->SetParent(parent);
        child->SetBounds(60, 0, 40, 40);
        window.resize(120, 60);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    ~Fixture() { gLog = nullptr; }
};

// A plain pointer move, delivered straight to the widget as the window system would.
void Hover(QWidget* w, QPoint pos)
{
    QMouseEvent e(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

} // namespace

TEST(VelGraphicControl, ClicksGoToTheChildInItsOwnCoordinates)
{
    Fixture f;
    QTest::mouseClick(f.parent, Qt::LeftButton, Qt::NoModifier, QPoint(70, 10));
    using M = std::pair<unsigned, QPoint>;
    std::vector<M> clicks;
    for (const M& m : f.child->mouse)
        if (m.first != WM_MOUSEMOVE)
            clicks.push_back(m);
    EXPECT_EQ(clicks, (std::vector<M>{{WM_LBUTTONDOWN, {10, 10}}, {WM_LBUTTONUP, {10, 10}}}));
    EXPECT_TRUE(std::find(f.parent->mouse.begin(), f.parent->mouse.end(), WM_LBUTTONDOWN) == f.parent->mouse.end());
    QTest::mouseClick(f.parent, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_NE(std::find(f.parent->mouse.begin(), f.parent->mouse.end(), WM_LBUTTONDOWN), f.parent->mouse.end());
}

TEST(VelGraphicControl, ThePressedChildKeepsTheMouseUntilRelease)
{
    Fixture f;
    QTest::mousePress(f.parent, Qt::LeftButton, Qt::NoModifier, QPoint(70, 10));
    EXPECT_EQ(f.parent->GraphicCapture(), f.child.get());
    QTest::mouseMove(f.parent, QPoint(5, 5));
    ASSERT_FALSE(f.child->mouse.empty());
    EXPECT_EQ(f.child->mouse.back(), (std::pair<unsigned, QPoint>{WM_MOUSEMOVE, {-55, 5}}));
    EXPECT_TRUE(f.child->captured.back());
    QTest::mouseRelease(f.parent, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(f.child->mouse.back().first, static_cast<unsigned>(WM_LBUTTONUP));
    EXPECT_EQ(f.parent->GraphicCapture(), nullptr);
    EXPECT_FALSE(f.child->MouseCapture());
}

TEST(VelGraphicControl, MovingOntoTheChildLeavesAndReentersTheParent)
{
    Fixture f;
    Hover(f.parent, QPoint(10, 10));
    f.log.clear();
    Hover(f.parent, QPoint(70, 10));
    EXPECT_EQ(f.log, (std::vector<std::string>{"parent leave", "child enter", "parent enter"}));
    EXPECT_EQ(f.parent->GraphicUnderMouse(), f.child.get());
    f.log.clear();
    Hover(f.parent, QPoint(20, 10));
    EXPECT_EQ(f.log, (std::vector<std::string>{"child leave", "parent leave", "parent enter"}));
    EXPECT_TRUE(f.parent->MouseAbove());
}

TEST(VelGraphicControl, HitTestNarrowsTheShapeAndDisabledChildrenTakeNothing)
{
    Fixture f;
    f.child->leftHalfOnly = true;
    QTest::mouseClick(f.parent, Qt::LeftButton, Qt::NoModifier, QPoint(95, 10));
    EXPECT_TRUE(f.child->mouse.empty() || std::none_of(f.child->mouse.begin(), f.child->mouse.end(),
                                                       [](auto& m) { return m.first == WM_LBUTTONDOWN; }));
    EXPECT_NE(std::find(f.parent->mouse.begin(), f.parent->mouse.end(), WM_LBUTTONDOWN), f.parent->mouse.end());

    f.child->mouse.clear();
    f.parent->mouse.clear();
    f.child->SetEnabled(false);
    QTest::mouseClick(f.parent, Qt::LeftButton, Qt::NoModifier, QPoint(65, 10));
    EXPECT_TRUE(f.child->mouse.empty()) << "a disabled control takes no mouse message";
    EXPECT_TRUE(f.parent->mouse.empty()) << "and the click does not fall through to the parent";
}

TEST(VelGraphicControl, ParentPaintsTheChildClippedToItsBounds)
{
    Fixture f;
    const QImage img = f.parent->grab().toImage();
    EXPECT_EQ(img.pixelColor(70, 20), QColor(Qt::red));
    EXPECT_NE(img.pixelColor(50, 20), QColor(Qt::red));
    f.child->SetVisible(false);
    EXPECT_NE(f.parent->grab().toImage().pixelColor(70, 20), QColor(Qt::red));
}

TEST(VelGraphicControl, BoundsChangesReportWhatChanged)
{
    TProbeGraphic g("g");
    std::vector<unsigned> flags;
    g.OnBoundsChanged = [&](QObject*, unsigned f) { flags.push_back(f); };
    EXPECT_EQ(g.BoundsRect(), QRect(0, 0, 30, 30));
    g.SetBounds(5, 0, 30, 30);
    g.SetBounds(5, 0, 20, 30);
    g.SetBounds(1, 1, 1, 1);
    g.SetBounds(1, 1, 1, 1);
    g.BeginLoading();
    g.SetBounds(2, 2, 2, 2);
    EXPECT_EQ(flags, (std::vector<unsigned>{bcPosition, bcSize, bcPosition | bcSize}));
}

TEST(VelGraphicControl, OwnBevelIsNotNativeAndItsChangesRedraw)
{
    Fixture f;
    f.child->Bevel()->SetMode(bmWindows);
    EXPECT_EQ(f.child->Bevel()->Extent(), 2);
    f.child.reset();
    EXPECT_TRUE(f.parent->GraphicControls().empty()) << "a freed child leaves its parent";
}
