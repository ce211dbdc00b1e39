#pragma once

#include <QByteArray>
#include <gtest/gtest.h>
#include <unistd.h>

// Some faults only the superuser can make: mounts, files of another user. CI runs as root and
// must make them; anywhere else such a test is skipped and says why.
#define VELORIN_REQUIRE_ROOT(why)                                                                                      \
    do {                                                                                                               \
        if (::geteuid() != 0) {                                                                                        \
            if (qgetenv("CI") == "true")                                                                               \
                FAIL() << "CI runs as root, but this test runs as uid " << ::geteuid() << ": " why;                    \
            GTEST_SKIP() << "needs root: " why;                                                                        \
        }                                                                                                              \
    } while (false)

// A user and group id no file of the test's own user has.
constexpr uid_t kOtherUid = 65534;
constexpr gid_t kOtherGid = 65534;
