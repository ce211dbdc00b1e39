#include "VelorinApplication.h"

#include "FormControls.h"

#include <QFileInfo>
#include <QMessageBox>

#include "VelErrors.h"

namespace {

void ShowCriticalBox(const QString& caption, const QString& text)
{
    // Parentless and application-modal like the classic box; it must never take the main
    // window down with it.
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok);
    box.exec();
}

TErrorBox& CurrentErrorBox()
{
    static TErrorBox box = ShowCriticalBox;
    return box;
}

QString MessageOf(std::exception_ptr error)
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

QString ApplicationTitleFrom(const QString& programPath)
{
    QString name = QFileInfo(programPath).fileName();
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    if (name.size() > 1)
        name = name.left(1) + name.mid(1).toLower();
    return name;
}

TErrorBox SetErrorBox(TErrorBox box)
{
    TErrorBox previous = std::move(CurrentErrorBox());
    CurrentErrorBox() = box ? std::move(box) : TErrorBox(ShowCriticalBox);
    return previous;
}

void ShowErrorBox(std::exception_ptr error, const QString& caption)
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
    : QApplication(argc, argv), title_(ApplicationTitleFrom(applicationFilePath()))
{
    // What the desktop shows for the running program (task bar, window list), and the desktop
    // entry it belongs to, whatever the program file is called.
    setApplicationDisplayName(QStringLiteral("Velorin"));
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
