#pragma once

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QStringList>
#include <utility>

#include "VelEditAccessible.h"

// What the edits tell a screen reader while it lives, one line an event, through the library's
// accessibility hook: "insert 0 'a'", "remove 1 'b'", "caret 2", "selection 0-1", "value 2".
class AccessibleEventLog {
public:
    AccessibleEventLog() : previous_(SetVelAccessibleEventHook([this](QAccessibleEvent* e) { Record(e); })) {}
    ~AccessibleEventLog() { SetVelAccessibleEventHook(previous_); }
    AccessibleEventLog(const AccessibleEventLog&) = delete;
    AccessibleEventLog& operator=(const AccessibleEventLog&) = delete;

    QStringList Events;

    QStringList Take() { return std::exchange(Events, {}); }

    // Applies the text events to Text as a screen reader does to its copy; a removal of text that
    // is not there gives "<stale>".
    static QString Replay(QString Text, const QStringList& Events)
    {
        for (const QString& e : Events) {
            const QStringList words = e.split(u' ');
            if (words[0] != "insert" && words[0] != "remove")
                continue;
            const int at = words[1].toInt();
            const qsizetype quote = e.indexOf(u'\'');
            const QString part = e.mid(quote + 1, e.size() - quote - 2);
            if (words[0] == "insert" && at >= 0 && at <= Text.size())
                Text.insert(at, part);
            else if (words[0] == "remove" && Text.mid(at, part.size()) == part)
                Text.remove(at, part.size());
            else
                return QStringLiteral("<stale>");
        }
        return Text;
    }

private:
    void Record(QAccessibleEvent* Event)
    {
        switch (Event->type()) {
        case QAccessible::TextInserted: {
            auto* e = static_cast<QAccessibleTextInsertEvent*>(Event);
            Events << QStringLiteral("insert %1 '%2'").arg(e->changePosition()).arg(e->textInserted());
            break;
        }
        case QAccessible::TextRemoved: {
            auto* e = static_cast<QAccessibleTextRemoveEvent*>(Event);
            Events << QStringLiteral("remove %1 '%2'").arg(e->changePosition()).arg(e->textRemoved());
            break;
        }
        case QAccessible::TextCaretMoved:
            Events << QStringLiteral("caret %1").arg(static_cast<QAccessibleTextCursorEvent*>(Event)->cursorPosition());
            break;
        case QAccessible::TextSelectionChanged: {
            auto* e = static_cast<QAccessibleTextSelectionEvent*>(Event);
            Events << QStringLiteral("selection %1-%2").arg(e->selectionStart()).arg(e->selectionEnd());
            break;
        }
        case QAccessible::ValueChanged:
            Events
                << QStringLiteral("value %1").arg(static_cast<QAccessibleValueChangeEvent*>(Event)->value().toString());
            break;
        default: break;
        }
    }

    TVelAccessibleEventHook previous_;
};
