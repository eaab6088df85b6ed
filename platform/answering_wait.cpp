#include "platform/answering_wait.h"

#include <chrono>
#include <future>

namespace ruror {

int waitAnswering(const std::function<int()>& blockingCall, const std::function<void()>& between) {
    if (!between) return blockingCall();
    std::future<int> result = std::async(std::launch::async, blockingCall);
    while (result.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) between();
    return result.get();
}

}  // namespace ruror
