#include <gtest/gtest.h>

#include <cerrno>

#include "VelErrors.h"

namespace {

TEST(InOutError, MessagesFollowTheClassicCodes)
{
    const struct {
        int code;
        const char* message;
    } cases[] = {
        {2, "File not found"},
        {3, "Invalid filename"},
        {4, "Too many open files"},
        {5, "File access denied"},
        {100, "Read beyond end of file"},
        {101, "Disk full"},
        {106, "Invalid numeric input"},
        {32, "I/O error 32"},
        {0, "I/O error 0"},
    };
    for (const auto& c : cases) {
        EVelInOutError e(c.code);
        EXPECT_EQ(e.ErrorCode(), c.code);
        EXPECT_EQ(e.Message(), QString::fromLatin1(c.message)) << c.code;
        EXPECT_STREQ(e.what(), c.message);
    }
}

// A system error takes a classic message only when it means the same; the numbers alone often
// collide (EIO is 5 like "File access denied", EINTR 4 like "Too many open files"). Any other
// keeps its number and says what it is.
TEST(InOutError, SystemErrorsTakeAClassicMessageOnlyWhenTheMeaningsMatch)
{
    const struct {
        int err;
        bool creating;
        int code;
        const char* message;
    } cases[] = {
        {ENOENT, false, 2, "File not found"},
        {ENOENT, true, 3, "Invalid filename"},
        {ENOTDIR, true, 3, "Invalid filename"},
        {EMFILE, false, 4, "Too many open files"},
        {ENFILE, true, 4, "Too many open files"},
        {EACCES, true, 5, "File access denied"},
        {EPERM, false, 5, "File access denied"},
        {EROFS, true, 5, "File access denied"},
        {ETXTBSY, false, 5, "File access denied"},
        {ENOSPC, false, 101, "Disk full"},
        {EDQUOT, false, 101, "Disk full"},
        {EIO, false, EIO, "I/O error 5 (Input/output error)"},
        {EINTR, false, EINTR, "I/O error 4 (Interrupted system call)"},
        {ENXIO, true, ENXIO, "I/O error 6 (No such device or address)"},
        {EFBIG, false, EFBIG, "I/O error 27 (File too large)"},
        {EISDIR, true, EISDIR, "I/O error 21 (Is a directory)"},
        {ENAMETOOLONG, true, ENAMETOOLONG, "I/O error 36 (File name too long)"},
    };
    for (const auto& c : cases) {
        const EVelInOutError e = EVelInOutError::FromErrno(c.err, c.creating);
        EXPECT_EQ(e.ErrorCode(), c.code) << c.err;
        EXPECT_EQ(e.Message(), QString::fromLatin1(c.message)) << c.err;
    }
}

TEST(VelException, KeepsTheMessageForQtAndForWhat)
{
    const QString text = QString::fromUtf8("Spannung \u2264 0");
    try {
        throw EVelMathError(text);
    } catch (const EVelException& e) {
        EXPECT_EQ(e.Message(), text);
        EXPECT_EQ(QString::fromUtf8(e.what()), text);
    }
}

} // namespace
