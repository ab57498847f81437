#include "app/AnalysisWorker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tvx {
namespace {

// Counts its live instances, so that a result freed twice or never shows.
class Tracked {
public:
    explicit Tracked(int id) : id_(id) { ++live_; }
    Tracked(const Tracked& other) : id_(other.id_) { ++live_; }
    Tracked& operator=(const Tracked&) = default;
    ~Tracked() { --live_; }
    int Id() const { return id_; }
    static int Live() { return live_; }

private:
    int id_;
    static inline std::atomic<int> live_ = 0;
};

struct Request {
    int id = 0;
    std::shared_ptr<void> token;  // lets a test see when the worker has let go of the request
};

using Worker = AnalysisWorker<Request, Tracked>;

// How long a test waits for the worker before it calls it broken; a correct worker never
// comes near it.
constexpr std::chrono::seconds kPatience(60);

// A one-shot signal between threads.
class Event {
public:
    void Set() {
        std::lock_guard lock(mutex_);
        set_ = true;
        changed_.notify_all();
    }
    [[nodiscard]] bool Wait() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kPatience, [this] { return set_; });
    }
    [[nodiscard]] bool IsSet() {
        std::lock_guard lock(mutex_);
        return set_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool set_ = false;
};

// A request token that sets the event when the last copy of the request is gone.
std::shared_ptr<void> SignalOnRelease(Event& event) {
    return std::shared_ptr<void>(nullptr, [&event](void*) { event.Set(); });
}

// Stands in for the owner's message queue: the poster's posts, handed over to the owner
// thread.
class FakeQueue {
public:
    explicit FakeQueue(bool accept = true) : accept_(accept) {}

    Worker::Poster Poster() {
        return [this](Worker::Result* result) {
            std::lock_guard lock(mutex_);
            ++offered_;
            if (accept_) results_.emplace_back(result);
            changed_.notify_all();
            return accept_;
        };
    }

    // Waits (on the owner thread) until `count` results have been offered.
    [[nodiscard]] bool WaitForOffers(int count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kPatience, [&] { return offered_ >= count; });
    }

    std::deque<std::unique_ptr<Worker::Result>> Take() {
        std::lock_guard lock(mutex_);
        return std::move(results_);
    }

    int Offered() {
        std::lock_guard lock(mutex_);
        return offered_;
    }

private:
    const bool accept_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int offered_ = 0;
    std::deque<std::unique_ptr<Worker::Result>> results_;
};

// A computation that records the requests it sees; the first one waits at a gate.
class GatedCompute {
public:
    Worker::Compute Function() {
        return [this](const Request& request) {
            const bool first = Record(request.id);
            if (first) {
                started_.Set();
                EXPECT_TRUE(gate_.Wait());
            }
            return Tracked(request.id * 10);
        };
    }
    [[nodiscard]] bool WaitUntilStarted() { return started_.Wait(); }
    void Open() { gate_.Set(); }
    std::vector<int> Computed() {
        std::lock_guard lock(mutex_);
        return computed_;
    }

private:
    bool Record(int id) {
        std::lock_guard lock(mutex_);
        computed_.push_back(id);
        return computed_.size() == 1;
    }

    Event started_;
    Event gate_;
    std::mutex mutex_;
    std::vector<int> computed_;
};

Worker::Compute TimesTen() {
    return [](const Request& request) { return Tracked(request.id * 10); };
}

TEST(AnalysisWorker, PostsEachResultWithItsGeneration) {
    FakeQueue queue;
    Worker worker(TimesTen(), queue.Poster());
    worker.Start();
    const std::uint64_t first = worker.Submit({7, nullptr});
    ASSERT_TRUE(queue.WaitForOffers(1));
    auto results = queue.Take();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0]->generation, first);
    EXPECT_EQ(results[0]->value.Id(), 70);
    EXPECT_TRUE(worker.IsCurrent(first));

    const std::uint64_t second = worker.Submit({8, nullptr});
    EXPECT_GT(second, first);
    EXPECT_FALSE(worker.IsCurrent(first));
    EXPECT_TRUE(worker.IsCurrent(second));
    ASSERT_TRUE(queue.WaitForOffers(2));
    EXPECT_EQ(queue.Take()[0]->value.Id(), 80);
    // The destructor stops and joins the thread.
}

// Ten more requests while the first one is computed: the slot keeps only the newest, so two
// computations in all, and of the two results only the newest is shown.
TEST(AnalysisWorker, BurstWhileComputingYieldsTwoComputations) {
    FakeQueue queue;
    GatedCompute compute;
    Worker worker(compute.Function(), queue.Poster());
    worker.Start();
    worker.Submit({1, nullptr});
    ASSERT_TRUE(compute.WaitUntilStarted());
    for (int id = 2; id <= 11; ++id) worker.Submit({id, nullptr});
    compute.Open();
    ASSERT_TRUE(queue.WaitForOffers(2));
    worker.Stop();
    EXPECT_EQ(compute.Computed(), (std::vector<int>{1, 11}));

    std::vector<int> shown;
    for (const auto& result : queue.Take())
        if (worker.IsCurrent(result->generation)) shown.push_back(result->value.Id());
    EXPECT_EQ(shown, std::vector<int>{110});
}

TEST(AnalysisWorker, RequestsBeforeStartWaitInTheSlot) {
    FakeQueue queue;
    GatedCompute compute;
    compute.Open();
    Worker worker(compute.Function(), queue.Poster());
    worker.Submit({1, nullptr});
    const std::uint64_t newest = worker.Submit({2, nullptr});
    worker.Start();
    ASSERT_TRUE(queue.WaitForOffers(1));
    worker.Stop();
    EXPECT_EQ(compute.Computed(), std::vector<int>{2});
    const auto results = queue.Take();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0]->generation, newest);
}

// Stop during a computation drops the waiting request at once, then waits for the computation
// to end and post its result before the thread is joined.
TEST(AnalysisWorker, StopWhileComputingJoinsAfterTheComputation) {
    FakeQueue queue;
    GatedCompute compute;
    Event dropped;
    Worker worker(compute.Function(), queue.Poster());
    worker.Start();
    worker.Submit({1, nullptr});
    ASSERT_TRUE(compute.WaitUntilStarted());

    worker.Submit({2, SignalOnRelease(dropped)});
    // The gate opens only once Stop has dropped the waiting request.
    std::jthread opener([&] {
        EXPECT_TRUE(dropped.Wait());
        compute.Open();
    });
    worker.Stop();

    EXPECT_TRUE(dropped.IsSet());
    EXPECT_EQ(compute.Computed(), std::vector<int>{1});
    const auto results = queue.Take();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0]->value.Id(), 10);
}

TEST(AnalysisWorker, AResultThatCannotBePostedIsFreed) {
    const int liveBefore = Tracked::Live();
    {
        FakeQueue refusing(false);
        Worker worker(TimesTen(), refusing.Poster());
        worker.Start();
        worker.Submit({1, nullptr});
        ASSERT_TRUE(refusing.WaitForOffers(1));
        worker.Submit({2, nullptr});
        ASSERT_TRUE(refusing.WaitForOffers(2));
        worker.Stop();
        EXPECT_EQ(refusing.Offered(), 2);
    }
    EXPECT_EQ(Tracked::Live(), liveBefore);
}

TEST(AnalysisWorker, StopWithoutStartDropsTheRequest) {
    FakeQueue queue;
    Event dropped;
    Worker worker(TimesTen(), queue.Poster());
    worker.Submit({1, SignalOnRelease(dropped)});
    worker.Stop();
    EXPECT_TRUE(dropped.IsSet());
    worker.Stop();
    EXPECT_EQ(queue.Offered(), 0);
}

}  // namespace
}  // namespace tvx
