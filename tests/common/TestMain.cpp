#include <QApplication>
#include <gtest/gtest.h>

#include "FormatSettings.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // Tests start from the classic "." / "," format unless they install another one.
    SetFormatSettings(TFormatSettings{});
    return RUN_ALL_TESTS();
}
