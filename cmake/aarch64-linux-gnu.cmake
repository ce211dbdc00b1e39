# Cross build for arm64 on an amd64 Debian: Debian's cross compiler, the arm64 libraries installed
# beside the amd64 ones through multiarch (dpkg --add-architecture arm64), Qt's code generators
# (moc, rcc) from the amd64 Qt, and every test run under qemu-user. scripts/setup.sh --arch arm64
# installs all of it.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
# The arm64 C library and loader are the multiarch ones under /, where qemu finds them too.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/qemu-aarch64-static)

# Headers and libraries of the target only; programs (moc, rcc, gzip) of the build machine.
set(CMAKE_FIND_ROOT_PATH /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
set(QT_HOST_PATH /usr CACHE PATH "Where the build machine's Qt tools live")

set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
