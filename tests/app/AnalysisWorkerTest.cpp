// The analysis worker's single request slot and thread, and the two workers built on it.

#include "app/AnalysisWorker.h"
#include "app/InspectorWorker.h"
#include "app/StructWorker.h"
#include "structpattern/PatternLoader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tvx::test {
namespace {

// How long a test waits for the worker before it calls it broken; a correct worker never
// comes near it.
constexpr std::chrono::seconds kPatience(60);

// Counts its live instances, so that a result freed twice or never shows.
struct Tracked {
    static inline std::atomic<int> live = 0;
    int id;
    explicit Tracked(int value) : id(value) { ++live; }
    Tracked(const Tracked& other) : id(other.id) { ++live; }
    ~Tracked() { --live; }
};

struct Request {
    int id = 0;
    std::shared_ptr<void> token;  // lets a test see when the worker has let go of the request
};

using Worker = tvx::AnalysisWorker<Request, Tracked>;

// A one-shot signal between threads.
struct Event {
    std::promise<void> promise;
    std::shared_future<void> future = promise.get_future().share();
    void Set() { promise.set_value(); }
    [[nodiscard]] bool Wait(std::chrono::seconds patience = kPatience) const {
        return future.wait_for(patience) == std::future_status::ready;
    }
};

// A request token that sets the event when the last copy of the request is gone.
std::shared_ptr<void> SignalOnRelease(Event& event) {
    return std::shared_ptr<void>(nullptr, [&event](void*) { event.Set(); });
}

// Stands in for the owner's message queue: takes over the first `accepts` posts, refuses the rest.
template <typename Result>
struct Inbox {
    int accepts = 1 << 30;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::uint64_t> offered;  // the generations of every result offered
    std::vector<std::unique_ptr<Result>> results;  // read once the worker has stopped

    std::function<bool(Result*)> Poster() {
        return [this](Result* result) {
            std::lock_guard lock(mutex);
            offered.push_back(result->generation);
            const bool accept = std::ssize(offered) <= accepts;
            if (accept) results.emplace_back(result);
            changed.notify_all();
            return accept;
        };
    }
    // Waits (on the owner thread) until `count` results have been offered.
    [[nodiscard]] bool WaitForOffers(std::size_t count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, kPatience, [&] { return offered.size() >= count; });
    }
};

using Queue = Inbox<Worker::Result>;

// A computation that records the requests it sees; the first one waits at the gate.
struct GatedCompute {
    Event started, gate;
    std::mutex mutex;
    std::vector<int> computed;  // read once the worker has stopped

    Worker::Compute Function() {
        return [this](const Request& request) {
            std::unique_lock lock(mutex);
            computed.push_back(request.id);
            if (computed.size() == 1) {
                lock.unlock();
                started.Set();
                EXPECT_TRUE(gate.Wait());
            }
            return Tracked(request.id * 10);
        };
    }
};

// A worker over a gated computation and a queue. Once it has stopped, the only results alive
// are those the queue took: a result it refused was freed, and none twice.
class AnalysisWorker : public ::testing::Test {
protected:
    void TearDown() override {
        worker.Stop();
        EXPECT_EQ(Tracked::live, liveBefore + static_cast<int>(queue.results.size()));
    }
    const int liveBefore = Tracked::live;
    Queue queue;
    GatedCompute compute;
    Worker worker{compute.Function(), queue.Poster()};
};

// Requests before Start wait in the slot, the newest replacing the one before; so do ten more
// while that one is computed, and the last of them is dropped: two computations in all. Each
// result carries its request's generation, current until the next request. The queue refuses
// the second result, which the worker frees.
TEST_F(AnalysisWorker, KeepsOnlyTheNewestRequestAndPostsEachResultWithItsGeneration) {
    queue.accepts = 1;
    worker.Submit({1, nullptr});
    const std::uint64_t first = worker.Submit({2, nullptr});
    worker.Start();
    worker.Start();  // running already: no second thread
    ASSERT_TRUE(compute.started.Wait());
    EXPECT_TRUE(worker.IsCurrent(first));
    for (int id = 3; id <= 12; ++id) worker.Submit({id, nullptr});
    worker.DropPending();  // 12 is never computed; the computation goes on
    const std::uint64_t last = worker.Submit({13, nullptr});
    EXPECT_FALSE(worker.IsCurrent(first));
    EXPECT_TRUE(worker.IsCurrent(last));
    compute.gate.Set();
    ASSERT_TRUE(queue.WaitForOffers(2));
    worker.Stop();
    EXPECT_EQ(compute.computed, (std::vector<int>{2, 13}));
    EXPECT_EQ(queue.offered, (std::vector<std::uint64_t>{first, last}));
    ASSERT_EQ(queue.results.size(), 1u);
    EXPECT_EQ(queue.results[0]->value.id, 20);
}

// Stop drops the waiting request at once: before Start, and during a computation, where it then
// waits for the computation to end and post its result before the thread is joined.
TEST_F(AnalysisWorker, StopDropsTheWaitingRequestAndJoinsAfterTheComputation) {
    Event unstarted, dropped;
    worker.Submit({1, SignalOnRelease(unstarted)});
    worker.Stop();
    EXPECT_TRUE(unstarted.Wait(std::chrono::seconds(0)));
    worker.Start();  // again after a Stop
    worker.Submit({2, nullptr});
    ASSERT_TRUE(compute.started.Wait());
    worker.Submit({3, SignalOnRelease(dropped)});
    // The gate opens only once Stop has dropped the waiting request.
    std::jthread opener([&] {
        EXPECT_TRUE(dropped.Wait());
        compute.gate.Set();
    });
    worker.Stop();
    EXPECT_TRUE(dropped.Wait(std::chrono::seconds(0)));
    EXPECT_EQ(compute.computed, std::vector<int>{2});
    ASSERT_EQ(queue.results.size(), 1u);
    EXPECT_EQ(queue.results[0]->value.id, 20);
}

// Runs one request through a worker built on the slot; its result, or null.
template <typename W, typename R>
std::unique_ptr<typename W::Result> ComputeOnce(const R& request) {
    Inbox<typename W::Result> inbox;
    W worker(inbox.Poster());
    worker.Start();
    const std::uint64_t generation = worker.Submit(request);
    EXPECT_TRUE(inbox.WaitForOffers(1));
    worker.Stop();
    if (inbox.results.size() != 1 || inbox.results[0]->generation != generation) return nullptr;
    return std::move(inbox.results[0]);
}

TEST_F(AnalysisWorker, InspectorAndStructWorkersComputeTheRowsOfTheRequest) {
    const std::vector<std::uint8_t> bytes{0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48};
    const auto rows = ComputeOnce<InspectorWorker>(InspectorRequest{bytes, u"n/a"});
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->value, ComputeInspectorRows(bytes, u"n/a"));
    StructEvalRequest request;
    auto file = std::make_shared<StructPatternFile>();
    std::u16string error;
    ASSERT_TRUE(LoadStructPatternBytes("struct Rec { uint16_t n; char tag[2]; };", *file, error));
    request.file = file;
    request.data = {0x34, 0x12, 'h', 'i'};
    const auto result = ComputeOnce<StructWorker>(request);
    ASSERT_NE(result, nullptr);
    ASSERT_EQ(result->value.size(), 2u);
    EXPECT_EQ(result->value[0].value, u"0x1234");
    EXPECT_EQ(result->value[1].value, BuildStructRows(request)[1].value);
}

}  // namespace
}  // namespace tvx::test
