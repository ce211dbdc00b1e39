#pragma once

#include <QApplication>

// Every widget benchmark wants one application object on the offscreen platform for the whole
// run. It is never destroyed: the process ends right after the last benchmark, and taking Qt down
// during static destruction only risks an ordering fault at exit.
inline void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}
