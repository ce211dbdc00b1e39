#include "VelorinApplication.h"

#include "FormControls.h"

#include <QMessageBox>

#include "VelErrors.h"
#include "VelMessageBox.h"

namespace {

void ShowCriticalBox(const QString& caption, const QString& text)
{
    // Parentless and application-modal like the classic box; it must never take the main
    // window down with it.
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok);
    VelKeepButtonTexts(box);
    box.exec();
}

TErrorBox& CurrentErrorBox()
{
    static TErrorBox box = ShowCriticalBox;
    return box;
}

QString MessageOf(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const EVelException& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

} // namespace

QString ErrorBoxText(const QString& message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

TErrorBox SetErrorBox(TErrorBox box)
{
    TErrorBox previous = std::move(CurrentErrorBox());
    CurrentErrorBox() = box ? std::move(box) : TErrorBox(ShowCriticalBox);
    return previous;
}

void ShowErrorBox(const std::exception_ptr& error, const QString& caption)
{
    const QString text = ErrorBoxText(MessageOf(error));
    // A failing box must not escape either; there is nowhere left to report it.
    try {
        CurrentErrorBox()(caption, text);
    } catch (...) {
    }
}

bool DeliverGuarded(const std::function<bool()>& deliver, const QString& caption)
{
    try {
        return deliver();
    } catch (...) {
        ShowErrorBox(std::current_exception(), caption);
        return false;
    }
}

TVelorinApplication::TVelorinApplication(int& argc, char** argv)
    : QApplication(argc, argv), title_(VelApplicationTitle())
{
    // The desktop entry ties the windows to the menu entry, its name and its icon, whatever the
    // program file is called. No display name: Qt would append it to every window's caption.
    setDesktopFileName(QStringLiteral("io.github.velorin.Velorin"));
    setWindowIcon(ProgramIcon());
}

QString TVelorinApplication::Title() const
{
    return title_;
}

bool TVelorinApplication::notify(QObject* receiver, QEvent* event)
{
    return DeliverGuarded([&] { return QApplication::notify(receiver, event); }, title_);
}
