#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

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

// One key pressed and let go on a widget, then its repaint: a keystroke as a user makes it, without
// the event loop's turn.
inline void Keystroke(QWidget& w, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(&w, &release);
    w.repaint();
}
