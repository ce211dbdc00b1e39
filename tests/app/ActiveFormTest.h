#pragma once

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "ApplicationTestSupport.h"
#include "Main.h"
#include "ScopedFormat.h"
#include "VelBaseEdit.h"

// The calculator's window, shown and active, with '.' for decimals, as a user meets it.
class ActiveFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitPictures();
        form = std::make_unique<TForm1>();
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    // A click into the text at its start, then Home, so the caret stands before the first digit.
    void ClickIntoStart(TVelBaseEdit* e)
    {
        QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(8, e->height() / 2));
        QTest::keyClick(e, Qt::Key_Home);
    }
    void SelectAllAndType(TVelBaseEdit* e, const char* text)
    {
        ClickIntoStart(e);
        QTest::keyClick(e, Qt::Key_End, Qt::ShiftModifier);
        QTest::keyClicks(e, QString::fromLatin1(text));
    }

    ScopedFormat format_{QChar('.'), QChar(',')};
    std::unique_ptr<TForm1> form;
};
