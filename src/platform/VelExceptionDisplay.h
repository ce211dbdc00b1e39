#pragma once

#include <exception>
#include <functional>

class QObject;

// Where failures of timer callbacks and other code that Qt calls back end up. The classic toolkit
// caught them in its window procedure and showed them through the application object; here the
// program installs its error box, and until it does the message goes to the log, so no exception
// ever unwinds through Qt's event loop whatever application class runs it.
using TVelExceptionDisplay = std::function<void(QObject* Sender, std::exception_ptr Error)>;

// Returns the display installed before; an empty one restores the logging default.
TVelExceptionDisplay VelSetExceptionDisplay(TVelExceptionDisplay Display);

// Shows Error through the installed display. Never throws: a failing display is swallowed,
// there is nowhere left to report it.
void VelShowException(QObject* Sender, const std::exception_ptr& Error) noexcept;

// Runs Action and shows anything it throws, naming Sender only if it still exists by then; true
// when the action finished without an exception.
bool VelRunGuarded(QObject* Sender, const std::function<void()>& Action) noexcept;
