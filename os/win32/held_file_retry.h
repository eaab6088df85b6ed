#pragma once

#include <windows.h>

#include <functional>

namespace ruror::win32 {

// Runs a step on a file (an open, a move, a replace) that another program
// may refuse for a moment: virus scanners, indexers and sync clients open a
// new or changed file briefly, and the step fails with "access denied",
// "sharing violation" or "lock violation". Those failures are tried again
// after growing waits, about five seconds in all, with `between` called
// about every 10 ms meanwhile so that the window keeps answering; any other
// failure, and the last one, is returned at once. `attempt` returns 0 or the
// Windows error code.
DWORD retryWhileHeld(const std::function<DWORD()>& attempt, const std::function<void()>& between);

}  // namespace ruror::win32
