#include "VelExceptionDisplay.h"

#include <QDebug>
#include <QObject>
#include <QPointer>

#include "VelErrors.h"

namespace {

void LogException(QObject* Sender, const std::exception_ptr& Error)
{
    QString message;
    try {
        std::rethrow_exception(Error);
    } catch (const EVelException& e) {
        message = e.Message();
    } catch (const std::exception& e) {
        message = QString::fromUtf8(e.what());
    } catch (...) {
        message = QStringLiteral("Unknown error");
    }
    qWarning().noquote() << (Sender ? Sender->metaObject()->className() : "(none)") << message;
}

TVelExceptionDisplay& CurrentDisplay()
{
    static TVelExceptionDisplay display = LogException;
    return display;
}

} // namespace

TVelExceptionDisplay VelSetExceptionDisplay(TVelExceptionDisplay Display)
{
    TVelExceptionDisplay previous = std::move(CurrentDisplay());
    CurrentDisplay() = Display ? std::move(Display) : TVelExceptionDisplay(LogException);
    return previous;
}

void VelShowException(QObject* Sender, const std::exception_ptr& Error) noexcept
{
    if (!Error)
        return;
    try {
        // A copy, so a display that replaces itself while it runs stays alive to the end.
        const TVelExceptionDisplay display = CurrentDisplay();
        display(Sender, Error);
    } catch (...) {
    }
}

bool VelRunGuarded(QObject* Sender, const std::function<void()>& Action) noexcept
{
    // The action may free its sender (a control closing itself from a timer tick); the display
    // then hears of no sender rather than of a dangling one.
    const QPointer<QObject> sender(Sender);
    try {
        Action();
        return true;
    } catch (...) {
        VelShowException(sender.data(), std::current_exception());
        return false;
    }
}
