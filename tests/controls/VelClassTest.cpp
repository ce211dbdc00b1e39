#include <gtest/gtest.h>

#include "VelClass.h"

TEST(VelApplication, StartsInInsertModeWithNoModifier)
{
    TVelApplication app;
    EXPECT_EQ(app.KeyboardState(), ksInsertMode);
    EXPECT_TRUE(app.InsertMode());
    EXPECT_EQ(app.ShiftState(), 0);
    EXPECT_TRUE(app.ThemesEnabled());
    EXPECT_EQ(app.GlobalThemeMode(), ttmPlatform);
}

TEST(VelApplication, KeyboardStateFiresOnlyOnARealChange)
{
    TVelApplication app;
    int fired = 0;
    QObject* sender = nullptr;
    app.OnKeyboardStateChange = [&](QObject* s) {
        ++fired;
        sender = s;
    };
    app.SetKeyboardState(ksInsertMode);
    EXPECT_EQ(fired, 0);
    app.SetKeyboardState(ksShift | ksCtrl);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(sender, &app);
    EXPECT_FALSE(app.InsertMode());
    EXPECT_EQ(app.ShiftState(), ksShift | ksCtrl);
    app.SetKeyboardState(ksShift | ksCtrl);
    EXPECT_EQ(fired, 1);
}

TEST(VelApplication, GlobalAccessorGivesTheOneObject)
{
    EXPECT_NE(VelApplication(), nullptr);
    EXPECT_EQ(VelApplication(), VelApplication());
}
