#include "os/win32/windows_clock.h"

#include <windows.h>

namespace ruror::win32 {

Date WindowsClock::today() const {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return Date{local.wYear, local.wMonth, local.wDay};
}

}  // namespace ruror::win32
