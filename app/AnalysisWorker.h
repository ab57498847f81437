#pragma once
// A worker thread with a single request slot, for the analyses that follow the caret (the
// Data Inspector's values, the Struct View's rows).
//
// The owner thread submits requests; the worker computes the newest one and offers the result
// to a poster, which carries it to the owner thread (the application posts a window message
// with the result in lParam). A request submitted while another still waits replaces it
// unseen, so however fast requests come, at most one computation runs and one request waits.
// Each request gets the next generation number, which its result carries back; the owner
// shows a result only while IsCurrent says that no newer request has been made since.
//
// Threads: construction, Start, Submit, IsCurrent, Stop and destruction belong to the owner
// thread. compute and post run on the worker thread with no lock held, and see everything the
// owner thread did before it submitted their request. The slot and the stop flag are the only
// shared state, always under the mutex; the generation counter is the owner thread's alone.
// Failures of the thread library (starting, locking, joining from the worker itself) are not
// caught and end the program.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace tvx {

template <typename Request, typename Value>
class AnalysisWorker {
public:
    struct Result {
        std::uint64_t generation = 0;
        Value value;
    };
    using Compute = std::function<Value(const Request&)>;
    // Offers a result, allocated with new, to the owner thread. True when the owner has taken
    // it over (and deletes it once handled, current or not); false when it could not be
    // delivered, and the worker deletes it.
    using Poster = std::function<bool(Result*)>;

    AnalysisWorker(Compute compute, Poster post) : compute_(std::move(compute)), post_(std::move(post)) {}
    ~AnalysisWorker() { Stop(); }
    AnalysisWorker(const AnalysisWorker&) = delete;
    AnalysisWorker& operator=(const AnalysisWorker&) = delete;

    // Starts the thread unless it runs; a request submitted before is computed then.
    void Start() {
        if (thread_.joinable()) return;
        {
            std::lock_guard lock(mutex_);
            stop_ = false;
        }
        thread_ = std::thread(&AnalysisWorker::Run, this);
    }

    // Puts the request in the slot, replacing one not taken yet, and wakes the worker.
    // Returns the request's generation.
    std::uint64_t Submit(Request request) {
        const std::uint64_t generation = ++generation_;
        {
            std::lock_guard lock(mutex_);
            slot_.emplace(Slot{generation, std::move(request)});
        }
        wake_.notify_one();
        return generation;
    }

    // True when no request has been submitted after the one of this generation.
    [[nodiscard]] bool IsCurrent(std::uint64_t generation) const noexcept { return generation == generation_; }

    // Drops the request not taken yet, if any; a computation in progress goes on.
    void DropPending() {
        std::lock_guard lock(mutex_);
        slot_.reset();
    }

    // Drops the request not taken yet, waits until a computation in progress has posted its
    // result, and joins the thread. Harmless when the thread is not running.
    void Stop() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
            slot_.reset();
        }
        wake_.notify_all();
        if (thread_.joinable()) thread_.join();
    }

private:
    struct Slot {
        std::uint64_t generation;
        Request request;
    };

    void Run() {
        for (;;) {
            std::optional<Slot> taken;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return stop_ || slot_.has_value(); });
                if (stop_) return;
                taken = std::exchange(slot_, std::nullopt);
            }
            auto result = std::make_unique<Result>(Result{taken->generation, compute_(taken->request)});
            if (post_(result.get())) result.release();
        }
    }

    const Compute compute_;
    const Poster post_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<Slot> slot_;  // the request waiting to be taken
    bool stop_ = false;
    std::uint64_t generation_ = 0;
    std::thread thread_;
};

}  // namespace tvx
