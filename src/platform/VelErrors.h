#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// Every runtime failure of the program and its control library is one of these. The application
// object catches them at the event loop and shows their message; nothing else unwinds through Qt.
class EVelException : public std::exception {
public:
    explicit EVelException(QString message);
    const QString& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// A file operation failed. The code follows the classic runtime numbering so that the messages
// users see ("File access denied", "Disk full") stay the same whatever the operating system says.
class EVelInOutError : public EVelException {
public:
    explicit EVelInOutError(int code);
    int ErrorCode() const noexcept { return code_; }

    static QString MessageFor(int code);
    // Maps an errno value onto the classic codes: 3 for a missing folder, 4 for too many open
    // files, 5 for refused access, 101 for a full disk; anything else keeps its own number.
    static int CodeFromErrno(int err);

private:
    int code_;
};

class EVelConvertError : public EVelException {
    using EVelException::EVelException;
};

class EVelMathError : public EVelException {
    using EVelException::EVelException;
};

class EVelOutOfResources : public EVelException {
    using EVelException::EVelException;
};

class EVelInvalidOperation : public EVelException {
    using EVelException::EVelException;
};

class EVelGeneralError : public EVelException {
    using EVelException::EVelException;
};

class EVelPrinterError : public EVelException {
    using EVelException::EVelException;
};
