#pragma once

#include <atomic>

namespace ruror {

// Who asked a running backup to stop.
enum class StopBy { Nobody, User, Session };

// A request to stop a running backup. Asked on the window's thread (the
// user's answer) or from a signal handler (the session ending), and read
// by the copy on any of its threads: lock-free, so that a signal handler
// may ask it.
class StopRequest {
public:
    void ask(StopBy by) noexcept {
        int nobody = static_cast<int>(StopBy::Nobody);
        by_.compare_exchange_strong(nobody, static_cast<int>(by));
    }
    bool asked() const noexcept { return by_.load(std::memory_order_relaxed) != static_cast<int>(StopBy::Nobody); }
    StopBy by() const noexcept { return static_cast<StopBy>(by_.load()); }

private:
    std::atomic<int> by_{static_cast<int>(StopBy::Nobody)};
    static_assert(std::atomic<int>::is_always_lock_free);
};

// Whether a request was given and asked.
inline bool stopAsked(const StopRequest* stop) noexcept { return stop != nullptr && stop->asked(); }

}  // namespace ruror
