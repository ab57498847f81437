#include "app/InspectorWorker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace tvx {
namespace {

// How long the test waits for a result before it calls the worker broken.
constexpr std::chrono::seconds kPatience(60);

// The worker as the main window uses it: results arrive through a poster and are shown when
// current.
TEST(InspectorWorker, ComputesTheRowsOfTheNewestRequest) {
    std::mutex mutex;
    std::condition_variable arrived;
    std::unique_ptr<InspectorWorker::Result> delivered;
    InspectorWorker worker([&](InspectorWorker::Result* result) {
        std::lock_guard lock(mutex);
        delivered.reset(result);
        arrived.notify_all();
        return true;
    });
    worker.Start();

    const std::vector<std::uint8_t> bytes{0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48};
    const std::uint64_t generation = worker.Submit({bytes, u"n/a"});
    std::unique_lock lock(mutex);
    ASSERT_TRUE(arrived.wait_for(lock, kPatience, [&] { return delivered != nullptr; }));
    EXPECT_EQ(delivered->generation, generation);
    EXPECT_TRUE(worker.IsCurrent(delivered->generation));
    EXPECT_EQ(delivered->value, ComputeInspectorRows(bytes, u"n/a"));
    EXPECT_EQ(delivered->value[static_cast<std::size_t>(InspectorRow::UInt16Le)], u"0x4241 / 16961");

    delivered.reset();
    worker.Submit({{}, u"--"});
    ASSERT_TRUE(arrived.wait_for(lock, kPatience, [&] { return delivered != nullptr; }));
    for (const std::u16string& value : delivered->value) EXPECT_EQ(value, u"--");
    lock.unlock();
    worker.Stop();
}

}  // namespace
}  // namespace tvx
