#include "VelErrors.h"

#include <cerrno>
#include <cstring>

EVelException::EVelException(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}

EVelInOutError::EVelInOutError(int code) : EVelException(MessageFor(code)), code_(code) {}

QString EVelInOutError::MessageFor(int code)
{
    switch (code) {
    case 2: return QStringLiteral("File not found");
    case 3: return QStringLiteral("Invalid filename");
    case 4: return QStringLiteral("Too many open files");
    case 5: return QStringLiteral("File access denied");
    case 100: return QStringLiteral("Read beyond end of file");
    case 101: return QStringLiteral("Disk full");
    case 106: return QStringLiteral("Invalid numeric input");
    default: return QStringLiteral("I/O error %1").arg(code);
    }
}

EVelInOutError::EVelInOutError(int code, QString message) : EVelException(std::move(message)), code_(code) {}

EVelInOutError EVelInOutError::FromErrno(int err, bool creating)
{
    if (const int classic = ClassicCode(err, creating))
        return EVelInOutError(classic);
    // A bare number tells the user nothing; the system's own words (in the user's language) do.
    if (err <= 0)
        return EVelInOutError(err, QStringLiteral("I/O error %1").arg(err));
    char buffer[256];
    const QString words = QString::fromLocal8Bit(::strerror_r(err, buffer, sizeof buffer));
    return EVelInOutError(err, QStringLiteral("I/O error %1 (%2)").arg(err).arg(words));
}

int EVelInOutError::ClassicCode(int err, bool creating)
{
    switch (err) {
    case ENOENT: return creating ? 3 : 2;
    case ENOTDIR: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY: return 5;
    case ENOSPC:
    case EDQUOT: return 101;
    default: return 0;
    }
}
