#pragma once

#include <functional>

namespace ruror {

// Runs a call that may block for a long time (a flush that waits for the
// disk) on a helper thread, and calls `between` about every 10 ms until it
// returns, so that the window keeps answering meanwhile. The helper touches
// nothing but what the call itself touches. Returns what the call returned.
int waitAnswering(const std::function<int()>& blockingCall, const std::function<void()>& between);

}  // namespace ruror
