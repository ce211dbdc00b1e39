#pragma once

#include <QApplication>
#include <QString>
#include <exception>
#include <functional>

#include "VelApplicationTitle.h"

// The error box's text: the message with "." added when its last character sorts after "."
// as a character: "Disk full", "Error 42" and even "Why?" get one; "Done." and "Stop!" do not.
QString ErrorBoxText(const QString& message);

// Shows the error box. The default is a modal critical message box with one OK button; tests
// install their own so that no modal box blocks them.
using TErrorBox = std::function<void(const QString& caption, const QString& text)>;
TErrorBox SetErrorBox(TErrorBox box); // returns the previous box

// Shows the error box for a caught exception, under the given caption.
void ShowErrorBox(const std::exception_ptr& error, const QString& caption);

// Runs deliver() and turns any exception escaping it into the error box, so that no exception
// unwinds through Qt's event loop. Returns deliver()'s result, or false after a failure.
bool DeliverGuarded(const std::function<bool()>& deliver, const QString& caption);

class TVelorinApplication : public QApplication {
    Q_OBJECT
public:
    TVelorinApplication(int& argc, char** argv);

    // ApplicationTitleFrom() of the running program file.
    QString Title() const;

    bool notify(QObject* receiver, QEvent* event) override;

private:
    QString title_;
};
