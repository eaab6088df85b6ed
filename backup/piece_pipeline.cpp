#include "backup/piece_pipeline.h"

#include "core/aligned_buffer.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <thread>

namespace ruror {
namespace {

// Three pieces: one being filled, one being emptied, one waiting between.
constexpr std::size_t kPieces = 3;
constexpr auto kAnswerEvery = std::chrono::milliseconds(10);

struct Filled {
    std::size_t piece;
    std::size_t size;
    std::uint64_t offset;
};

// The pieces passing between the two helpers, and how it ended.
class Conveyor {
public:
    Conveyor() {
        for (std::size_t i = 0; i < kPieces; ++i) empty_.push_back(i);
    }

    // The next empty piece, or none once the pipeline stops.
    bool takeEmpty(std::size_t& piece) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !empty_.empty() || stopped_; });
        if (stopped_) return false;
        piece = empty_.front();
        empty_.pop_front();
        return true;
    }
    void giveBack(std::size_t piece) {
        change([&] { empty_.push_back(piece); });
    }
    void pass(const Filled& filled) {
        change([&] { full_.push_back(filled); });
    }
    // The next filled piece, or none once the filling ended and all were taken.
    bool takeFull(Filled& filled) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !full_.empty() || filled_ || stopped_; });
        if (stopped_ || full_.empty()) return false;
        filled = full_.front();
        full_.pop_front();
        return true;
    }
    void fillingEnded() {
        change([this] { filled_ = true; });
    }
    void stop(int error, bool inFill) {
        change([&] {
            if (error != 0 && result_.error == 0) {
                result_.error = error;
                result_.failedFilling = inFill;
            }
            stopped_ = true;
        });
    }
    PiecePipeline::Result result() {
        std::lock_guard lock(mutex_);
        return result_;
    }

private:
    template <typename Change>
    void change(Change&& what) {
        {
            std::lock_guard lock(mutex_);
            what();
        }
        changed_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::size_t> empty_;
    std::deque<Filled> full_;
    bool filled_ = false;
    bool stopped_ = false;
    PiecePipeline::Result result_;
};

}  // namespace

PiecePipeline::Result PiecePipeline::run(const Fill& fill, const Empty& empty, const Between& between) {
    std::array<AlignedBuffer, kPieces> pieces{AlignedBuffer(kPieceBytes), AlignedBuffer(kPieceBytes),
                                              AlignedBuffer(kPieceBytes)};
    Conveyor conveyor;
    std::atomic<std::uint64_t> emptied{0};
    std::promise<void> finished;
    std::future<void> done = finished.get_future();

    std::thread filler([&] {
        std::uint64_t offset = 0;
        std::size_t piece = 0;
        while (conveyor.takeEmpty(piece)) {
            const long long got = fill(pieces[piece].data(), kPieceBytes, offset);
            if (got < 0) {
                conveyor.stop(static_cast<int>(-got), true);
                return;
            }
            if (got == 0) break;
            conveyor.pass({piece, static_cast<std::size_t>(got), offset});
            offset += static_cast<std::uint64_t>(got);
        }
        conveyor.fillingEnded();
    });
    std::thread emptier([&] {
        Filled filled{};
        while (conveyor.takeFull(filled)) {
            if (const int error = empty(pieces[filled.piece].data(), filled.size, filled.offset)) {
                conveyor.stop(error, false);
                break;
            }
            emptied += filled.size;
            conveyor.giveBack(filled.piece);
        }
        conveyor.stop(0, false);
        finished.set_value();
    });
    while (done.wait_for(kAnswerEvery) != std::future_status::ready) {
        if (between) between(emptied);
    }
    filler.join();
    emptier.join();
    Result result = conveyor.result();
    result.emptied = emptied;
    return result;
}

}  // namespace ruror
