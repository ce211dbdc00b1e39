#include "VelEditKeyboardState.h"

#include <QGuiApplication>

#include "VelClass.h"

void VelStoreModifiers(Qt::KeyboardModifiers Modifiers)
{
    TVelApplication* app = VelApplication();
    std::uint8_t state = app->KeyboardState() & ksInsertMode;
    if (Modifiers & Qt::ShiftModifier)
        state |= ksShift;
    if (Modifiers & Qt::ControlModifier)
        state |= ksCtrl;
    if (Modifiers & Qt::AltModifier)
        state |= ksAlt;
    app->SetKeyboardState(state);
}

void VelRefreshModifiers()
{
    VelStoreModifiers(QGuiApplication::queryKeyboardModifiers());
}

void VelWatchApplicationState()
{
    static bool watching = false;
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (watching || !app)
        return;
    watching = true;
    QObject::connect(app, &QGuiApplication::applicationStateChanged, app, [](Qt::ApplicationState State) {
        if (State == Qt::ApplicationActive)
            VelRefreshModifiers();
    });
}
