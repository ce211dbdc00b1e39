#include "VelAnnouncement.h"

#include <QAccessible>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QVariantMap>
#include <QWidget>
#include <utility>

namespace {

TVelAnnouncementHook& InstalledHook()
{
    static TVelAnnouncementHook hook;
    return hook;
}

// The event a screen reader gets from Qt's bridge for a description change, with the text in it.
void SendOnAccessibilityBus(QAccessibleInterface* Source, const QString& Text)
{
    // The bridge's connection to the accessibility bus, under the name it registers it with; a
    // name no connection has gives a disconnected one.
    QDBusConnection bus(QStringLiteral("a11y"));
    if (!bus.isConnected())
        return;
    const QString path = QStringLiteral("/org/a11y/atspi/accessible/") + QString::number(QAccessible::uniqueId(Source));
    QDBusMessage event = QDBusMessage::createSignal(path, QStringLiteral("org.a11y.atspi.Event.Object"),
                                                    QStringLiteral("PropertyChange"));
    event << QStringLiteral("accessible-description") << 0 << 0 << QVariant::fromValue(QDBusVariant(Text))
          << QVariantMap();
    bus.send(event);
}

} // namespace

QAccessibleInterface* VelFocusedAccessible()
{
    QWidget* widget = QApplication::focusWidget();
    QAccessibleInterface* focus = widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
    // A focused widget names itself as its focus child; an item view names its current cell.
    for (int depth = 0; focus && depth < 4; ++depth) {
        QAccessibleInterface* inner = focus->focusChild();
        if (!inner || inner == focus)
            break;
        focus = inner;
    }
    return focus;
}

bool VelAnnouncementsHeard()
{
    return InstalledHook() || QAccessible::isActive();
}

void VelAnnounce(QAccessibleInterface* Source, const QString& Text)
{
    if (!Source || Text.isEmpty())
        return;
    if (InstalledHook())
        InstalledHook()(Source, Text);
    else if (QAccessible::isActive())
        SendOnAccessibilityBus(Source, Text);
}

TVelAnnouncementHook SetVelAnnouncementHook(TVelAnnouncementHook Hook)
{
    return std::exchange(InstalledHook(), std::move(Hook));
}
