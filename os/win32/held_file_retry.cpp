#include "os/win32/held_file_retry.h"

#include <algorithm>
#include <array>

namespace ruror::win32 {
namespace {

// Growing waits that add up to about five seconds.
constexpr std::array<DWORD, 7> kWaitsMs = {50, 100, 200, 400, 800, 1600, 1850};
constexpr DWORD kAnswerEveryMs = 10;

bool heldByAnother(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

void pauseAnswering(DWORD milliseconds, const std::function<void()>& between) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        Sleep(static_cast<DWORD>(std::min<ULONGLONG>(kAnswerEveryMs, end - now)));
        if (between) between();
    }
}

}  // namespace

DWORD retryWhileHeld(const std::function<DWORD()>& attempt, const std::function<void()>& between) {
    DWORD error = attempt();
    for (const DWORD wait : kWaitsMs) {
        if (!heldByAnother(error)) return error;
        pauseAnswering(wait, between);
        error = attempt();
    }
    return error;
}

}  // namespace ruror::win32
