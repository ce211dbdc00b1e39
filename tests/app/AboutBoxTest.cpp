#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

#include "About.h"
#include "ApplicationTestSupport.h"
#include "QtPrinters.h"

namespace {

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitPictures();
        owner = std::make_unique<QWidget>();
        owner->setGeometry(200, 150, 782, 482);
        owner->show();
        box = new TAboutBox(owner.get());
    }

    std::unique_ptr<QWidget> owner;
    TAboutBox* box = nullptr; // owned by the window
};

TEST_F(AboutBoxTest, IsCreatedHiddenAndCannotBeResized)
{
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(box->size(), QSize(298, 175));
    EXPECT_EQ(box->minimumSize(), box->maximumSize());
    EXPECT_FALSE(box->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
}

TEST_F(AboutBoxTest, ShowsTheIconScaledAndTheEmblemAtItsOwnSize)
{
    EXPECT_EQ(box->ProgramIcon->Picture().size(), QSize(252, 252));
    EXPECT_EQ(box->ProgramIcon->geometry(), QRect(8, 8, 73, 65));
    EXPECT_TRUE(box->ProgramIcon->hasScaledContents());
    EXPECT_TRUE(box->ProgramIcon->Picture().hasAlphaChannel());

    EXPECT_EQ(box->Image1->Picture().size(), QSize(83, 100));
    EXPECT_EQ(box->Image1->geometry(), QRect(184, 8, 105, 105));
    EXPECT_FALSE(box->Image1->hasScaledContents());
}

TEST_F(AboutBoxTest, EnterHidesTheBoxAndEscapeDoesNot)
{
    box->ShowModeless();
    ASSERT_TRUE(box->isVisible());

    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_TRUE(box->isVisible());

    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_FALSE(box->isVisible());
}

TEST_F(AboutBoxTest, OkAndTheCloseCommandHideWithoutDestroying)
{
    QPointer<TAboutBox> watched(box);
    box->ShowModeless();
    QTest::mouseClick(box->OKButton, Qt::LeftButton);
    EXPECT_FALSE(box->isVisible());

    box->ShowModeless();
    EXPECT_TRUE(box->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(watched.isNull());
    EXPECT_FALSE(box->isVisible());

    box->ShowModeless();
    EXPECT_TRUE(box->isVisible());
}

TEST_F(AboutBoxTest, ShowingTwiceShowsOneBox)
{
    box->ShowModeless();
    box->ShowModeless();
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(owner->findChildren<TAboutBox*>().size(), 1);
}

TEST_F(AboutBoxTest, IsCentredOverTheMainWindowOnlyAtItsFirstShowing)
{
    box->ShowModeless();
    const QPoint offset = box->frameGeometry().center() - owner->frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2);

    box->move(20, 30);
    box->hide();
    box->ShowModeless();
    EXPECT_EQ(box->pos(), QPoint(20, 30));
}

TEST_F(AboutBoxTest, DoesNotHoldTheProgramOpen)
{
    EXPECT_FALSE(box->isModal());
    EXPECT_FALSE(box->testAttribute(Qt::WA_QuitOnClose));
}

} // namespace
