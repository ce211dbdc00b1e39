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

// A file operation failed. The classic runtime codes keep the messages users know ("File access
// denied", "Disk full"), but only for a system error that means the same thing; any other error
// keeps its own number and reads "I/O error N (what the system calls it)", so an EIO is never
// shown as refused access.
class EVelInOutError : public EVelException {
public:
    explicit EVelInOutError(int code);
    int ErrorCode() const noexcept { return code_; }

    // What a failing file operation reports in errno: the classic error when the meanings match,
    // otherwise "I/O error N (text)" with the system's own number and words. `creating` tells a missing folder
    // (creating a file, code 3) from a missing file (opening one, code 2).
    static EVelInOutError FromErrno(int err, bool creating);

    static QString MessageFor(int code);
    // The classic code whose meaning errno `err` has, or 0 when there is none.
    static int ClassicCode(int err, bool creating);

private:
    EVelInOutError(int code, QString message);

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
