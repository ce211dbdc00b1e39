#pragma once

#include <QEvent>

#include "Messages.h"

class QObject;

// A platform message travelling through Qt's event system. Window timers, posted messages and
// anything else that must reach a control's message procedure from outside it use this one
// carrier; the control base turns it back into a call of its message procedure and stores the
// result in the event, so a sent message can return one.
class TVelMessageEvent : public QEvent {
public:
    TVelMessageEvent(unsigned Msg, WPARAM wParam, LPARAM lParam);

    static QEvent::Type EventType();

    TMessage Message;
};

// Delivered later through the event queue, after the current handler returns.
void VelPostMessage(QObject* Target, unsigned Msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Delivered now; the result is what the target's message procedure left in the record, 0 for a
// target that does not take platform messages.
LRESULT VelSendMessage(QObject* Target, unsigned Msg, WPARAM wParam = 0, LPARAM lParam = 0);
