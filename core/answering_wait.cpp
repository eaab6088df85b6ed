#include "core/answering_wait.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <thread>

namespace ruror {
namespace {

#ifdef _WIN32
// On Windows, one helper thread for the whole program, started at the
// first wait and kept: starting a thread for each wait cost a millisecond
// each under Wine, and a backup of many files waits for each of them.
// (On POSIX a thread starts in microseconds, and one kept for good would
// not survive a fork.)
class Helper {
public:
    ~Helper() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        ready_.notify_all();
        if (thread_.joinable()) thread_.join();
    }

    std::future<int> run(const std::function<int()>& call) {
        std::packaged_task<int()> task(call);
        std::future<int> result = task.get_future();
        {
            std::lock_guard lock(mutex_);
            if (!thread_.joinable()) thread_ = std::thread([this] { work(); });
            tasks_.push_back(std::move(task));
        }
        ready_.notify_all();
        return result;
    }

private:
    void work() {
        for (;;) {
            std::packaged_task<int()> task;
            {
                std::unique_lock lock(mutex_);
                ready_.wait(lock, [this] { return !tasks_.empty() || stopping_; });
                if (tasks_.empty()) return;
                task = std::move(tasks_.front());
                tasks_.pop_front();
            }
            task();
        }
    }

    std::mutex mutex_;
    std::condition_variable ready_;
    // Waits of other threads (two backups at once) take their turn.
    std::deque<std::packaged_task<int()>> tasks_;
    bool stopping_ = false;
    std::thread thread_;
};

std::future<int> startOnHelper(const std::function<int()>& call) {
    static Helper helper;
    return helper.run(call);
}
#else
std::future<int> startOnHelper(const std::function<int()>& call) { return std::async(std::launch::async, call); }
#endif

}  // namespace

int waitAnswering(const std::function<int()>& blockingCall, const std::function<void()>& between) {
    if (!between) return blockingCall();
    std::future<int> result = startOnHelper(blockingCall);
    while (result.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) between();
    return result.get();
}

}  // namespace ruror
