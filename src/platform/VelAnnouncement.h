#pragma once

#include <QString>
#include <functional>

class QAccessibleInterface;

// A short spoken message that does not move the focus: what a change did to something the user
// is not on, such as a result computed elsewhere in the window or a row stored in a table. It is
// said as a change of the description of the object that has the focus, which screen readers
// speak for that object after whatever they were saying.
//
// Qt 6.4's bridge to the Linux accessibility bus sends description changes without the new text,
// and a screen reader cannot speak them; the change is therefore put on the bus here, on Qt's own
// connection and for the object's own path, with the text. The message is not the object's
// description: the object keeps the one its interface reports.
//
// Nothing is built or sent while nobody listens.

// The innermost object that has the keyboard focus as a screen reader follows it: the focused
// widget, or the current cell of a focused item view. None when the application has no focus.
QAccessibleInterface* VelFocusedAccessible();

// True while a screen reader has switched the platform's accessibility on, or a hook is set.
bool VelAnnouncementsHeard();

// Says Text through Source. An empty text says nothing.
void VelAnnounce(QAccessibleInterface* Source, const QString& Text);

// Receives every message instead of the bus (a recorder, a logging tool). Returns the previous.
using TVelAnnouncementHook = std::function<void(QAccessibleInterface* Source, const QString& Text)>;
TVelAnnouncementHook SetVelAnnouncementHook(TVelAnnouncementHook Hook);
