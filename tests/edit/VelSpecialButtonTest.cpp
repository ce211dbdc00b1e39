#include "EditTestSupport.h"

#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "VelSpecialButton.h"

namespace {

class SpecialButtonTest : public EditWindowTest {
protected:
    void SetUp() override
    {
        EditWindowTest::SetUp();
        window = std::make_unique<QWidget>();
        edit = new TTestEdit(window.get());
        edit->setGeometry(10, 10, 150, 25);
        edit->Bevel()->SetMode(bmWindows);
        window->resize(200, 60);
        ShowActive();
    }
    void AddButtons(int n)
    {
        for (int i = 0; i < n; ++i)
            edit->CustomButtons()->Add()->SetCaption(QString::number(i));
    }
    TVelSpeedButton* Button(int i) const { return edit->CustomButtons()->Items(i)->Button(); }

    TTestEdit* edit = nullptr;
};

} // namespace

TEST_F(SpecialButtonTest, StripTakesItsRoomOffTheRightOfTheEditArea)
{
    struct Row {
        const char* name;
        TVelBevelMode mode;
        int count;
        int width;
    };
    const Row rows[] = {
        {"none", bmWindows, 0, 16},
        {"two of 16, window border", bmWindows, 2, 16},
        {"three of 20, window border", bmWindows, 3, 20},
        {"two of 16, own bevel", bmStandard, 2, 16},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        edit->CustomButtons()->Clear();
        edit->Bevel()->SetMode(r.mode);
        edit->SetCustomButtonWidth(r.width);
        AddButtons(r.count);
        const QRect full = edit->FullEditRect();
        const QRect area = edit->EditRect();
        const bool inset = r.mode != bmWindows;
        const int strip = r.count * r.width + (r.count > 0 && inset ? 1 : 0);
        EXPECT_EQ(area, full.adjusted(0, 0, -strip, 0));
        EXPECT_LE(edit->TextRect().right(), area.right());
        const int top = inset ? full.top() + 1 : full.top();
        const int height = inset ? full.height() - 2 : full.height();
        for (int i = 0; i < r.count; ++i) {
            EXPECT_EQ(Button(i)->BoundsRect(), QRect(area.right() + 1 + i * r.width, top, r.width, height));
        }
        if (r.count > 0 && !inset) {
            EXPECT_EQ(Button(r.count - 1)->BoundsRect().right(), full.right());
        }
    }
}

TEST_F(SpecialButtonTest, ChangesLayTheStripOutAgain)
{
    AddButtons(3);
    const int full = edit->FullEditRect().width();
    edit->CustomButtons()->Delete(0);
    EXPECT_EQ(edit->EditRect().width(), full - 32);
    EXPECT_EQ(edit->CustomButtons()->Items(0)->Caption(), QStringLiteral("1"));
    EXPECT_EQ(Button(0)->Tag(), 0);
    EXPECT_EQ(Button(1)->Tag(), 1);
    edit->SetCustomButtonWidth(10);
    EXPECT_EQ(edit->EditRect().width(), full - 20);
    EXPECT_EQ(Button(1)->Width(), 10);
    edit->SetCustomButtonsStyle(ubsFlat);
    EXPECT_EQ(Button(0)->ButtonStyle(), ubsFlat);
    edit->resize(200, 25);
    EXPECT_EQ(Button(1)->BoundsRect().right(), edit->FullEditRect().right());
    edit->CustomButtons()->Clear();
    EXPECT_EQ(edit->EditRect(), edit->FullEditRect());
    EXPECT_TRUE(edit->GraphicControls().empty());
}

TEST_F(SpecialButtonTest, ClickReportsTheItemsIndex)
{
    AddButtons(3);
    std::vector<std::pair<std::string, int>> log;
    for (int i = 0; i < 3; ++i)
        edit->CustomButtons()->Items(i)->OnClick = [&](QObject* sender, int index) {
            log.emplace_back(qobject_cast<TVelSpecialButton*>(sender)->Caption().toStdString(), index);
        };
    edit->OnCustomButtonClick = [&](QObject* sender, int index) {
        EXPECT_EQ(sender, edit);
        log.emplace_back("edit", index);
    };
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, Button(1)->BoundsRect().center());
    EXPECT_EQ(log, (std::vector<std::pair<std::string, int>>{{"1", 1}, {"edit", 1}}));
    // The click belongs to the button: the edit's own text handling never saw it.
    EXPECT_EQ(edit->SelLength(), 0);
    EXPECT_TRUE(std::none_of(edit->log.begin(), edit->log.end(), [](const QString& s) { return s == "change"; }));
}

TEST_F(SpecialButtonTest, ButtonMayRemoveItselfFromItsClick)
{
    AddButtons(2);
    int edits = 0;
    edit->OnCustomButtonClick = [&](QObject*, int index) {
        EXPECT_EQ(index, 0);
        ++edits;
    };
    edit->CustomButtons()->Items(0)->OnClick = [&](QObject*, int index) { edit->CustomButtons()->Delete(index); };
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, Button(0)->BoundsRect().center());
    EXPECT_EQ(edit->CustomButtons()->Count(), 1);
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(edit->GraphicControls().size(), 1u);
}

TEST_F(SpecialButtonTest, CopiedStripKeepsSettingsAndHandlers)
{
    TVelSpecialButtons source;
    int clicked = -1;
    TVelSpecialButton* a = source.Add();
    a->SetCaption(QStringLiteral("a"));
    a->SetGroupIndex(4);
    a->SetAllowAllUp(true);
    a->Layout()->SetAlignment(agTopLeft);
    TVelSpecialButton* b = source.Add();
    b->SetEnabled(false);
    b->OnClick = [&](QObject*, int index) { clicked = index; };
    int changes = 0;
    edit->CustomButtons()->OnItemChanged = [&](QObject*, TVelSpecialButton*) { ++changes; };
    edit->SetCustomButtons(source);
    EXPECT_EQ(changes, 1) << "a copy lays the strip out once";
    ASSERT_EQ(edit->CustomButtons()->Count(), 2);
    EXPECT_EQ(Button(0)->Caption(), QStringLiteral("a"));
    EXPECT_EQ(Button(0)->GroupIndex(), 4);
    EXPECT_TRUE(Button(0)->AllowAllUp());
    EXPECT_EQ(Button(0)->ButtonLayout()->Alignment(), agTopLeft);
    EXPECT_FALSE(Button(1)->Enabled());
    edit->CustomButtons()->Items(1)->SetEnabled(true);
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, Button(1)->BoundsRect().center());
    EXPECT_EQ(clicked, 1);
}

TEST_F(SpecialButtonTest, TypingNeverDrawsUnderTheButtons)
{
    AddButtons(2);
    edit->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(edit->hasFocus());
    const QRect strip = Button(0)->BoundsRect() | Button(1)->BoundsRect();
    const QImage before = edit->grab().toImage().copy(strip);
    QTest::keyClicks(edit, QString(40, QChar(u'W')));
    ASSERT_EQ(edit->Text().length(), 40);
    EXPECT_LT(edit->TextRect().right(), strip.left());
    const QImage after = edit->grab().toImage();
    EXPECT_EQ(after.copy(strip), before);
    // The text did reach the strip's edge: the caret end of a long text is drawn just left of it.
    const QRect lastColumns(strip.left() - 12, edit->TextRect().top(), 10, edit->TextRect().height());
    const QRgb base = edit->palette().color(QPalette::Base).rgb();
    bool inked = false;
    for (int y = lastColumns.top(); y <= lastColumns.bottom(); ++y)
        for (int x = lastColumns.left(); x <= lastColumns.right(); ++x)
            inked = inked || after.pixel(x, y) != base;
    EXPECT_TRUE(inked);
}

TEST_F(SpecialButtonTest, ButtonsFollowTheEditsThemeAndEnabledState)
{
    AddButtons(1);
    TVelSpecialButton* item = edit->CustomButtons()->Items(0);
    item->SetThemeMode(ttmNative);
    EXPECT_EQ(Button(0)->ThemeMode(), edit->ThemeMode()) << "parent theme mode wins";
    edit->SetCustomButtonParentCtlXP(false);
    EXPECT_EQ(Button(0)->ThemeMode(), ttmNative);
    edit->SetCustomButtonParentCtlXP(true);
    EXPECT_EQ(Button(0)->ThemeMode(), edit->ThemeMode());
    edit->setEnabled(false);
    EXPECT_FALSE(Button(0)->Enabled());
    EXPECT_TRUE(item->Enabled());
    edit->setEnabled(true);
    EXPECT_TRUE(Button(0)->Enabled());
}

TEST_F(SpecialButtonTest, AutoSizeLeavesRoomForTheStrip)
{
    AddButtons(3);
    edit->resize(40, 25);
    edit->SetAutoSize(true);
    EXPECT_GE(edit->width(), 3 * 16 + 30);
}

TEST_F(SpecialButtonTest, PointerOverAButtonShowsItsCursorAndHint)
{
    AddButtons(1);
    edit->SetHint(QStringLiteral("edit hint"));
    edit->CustomButtons()->Items(0)->SetHint(QStringLiteral("button hint"));
    const auto hover = [&](QPoint pos) {
        QMouseEvent e(QEvent::MouseMove, pos, edit->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(edit, &e);
    };
    hover(Button(0)->BoundsRect().center());
    EXPECT_EQ(edit->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(edit->toolTip(), QStringLiteral("button hint"));
    hover(edit->TextRect().center());
    EXPECT_EQ(edit->cursor().shape(), Qt::IBeamCursor);
    EXPECT_EQ(edit->toolTip(), QStringLiteral("edit hint"));
}
