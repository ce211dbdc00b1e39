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
        {2, "File not found"},        {3, "Invalid filename"}, {4, "Too many open files"},
        {5, "File access denied"},    {100, "Read beyond end of file"}, {101, "Disk full"},
        {106, "Invalid numeric input"}, {32, "I/O error 32"}, {0, "I/O error 0"},
    };
    for (const auto& c : cases) {
        EVelInOutError e(c.code);
        EXPECT_EQ(e.ErrorCode(), c.code);
        EXPECT_EQ(e.Message(), QString::fromLatin1(c.message)) << c.code;
        EXPECT_STREQ(e.what(), c.message);
    }
}

TEST(InOutError, OperatingSystemErrorsMapOntoClassicCodes)
{
    const struct {
        int err;
        int code;
    } cases[] = {
        {ENOENT, 3}, {ENOTDIR, 3}, {EMFILE, 4}, {ENFILE, 4}, {EACCES, 5},
        {EPERM, 5},  {EROFS, 5},   {EISDIR, 5}, {ENOSPC, 101}, {EIO, EIO},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EVelInOutError::CodeFromErrno(c.err), c.code) << c.err;
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
