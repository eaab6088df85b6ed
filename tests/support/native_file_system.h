#pragma once

// The machine's own file system, which the tests run the program on.
#ifdef _WIN32
#include "os/win32/win32_file_system.h"
namespace ruror::test {
using NativeFileSystem = win32::Win32FileSystem;
}
#else
#include "os/posix/posix_file_system.h"
namespace ruror::test {
using NativeFileSystem = posix::PosixFileSystem;
}
#endif
