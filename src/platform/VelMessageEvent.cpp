#include "VelMessageEvent.h"

#include <QCoreApplication>

TVelMessageEvent::TVelMessageEvent(unsigned Msg, WPARAM wParam, LPARAM lParam)
    : QEvent(EventType()), Message{Msg, wParam, lParam, 0}
{
}

QEvent::Type TVelMessageEvent::EventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void VelPostMessage(QObject* Target, unsigned Msg, WPARAM wParam, LPARAM lParam)
{
    if (Target)
        QCoreApplication::postEvent(Target, new TVelMessageEvent(Msg, wParam, lParam));
}

LRESULT VelSendMessage(QObject* Target, unsigned Msg, WPARAM wParam, LPARAM lParam)
{
    if (!Target)
        return 0;
    TVelMessageEvent event(Msg, wParam, lParam);
    QCoreApplication::sendEvent(Target, &event);
    return event.Message.Result;
}
