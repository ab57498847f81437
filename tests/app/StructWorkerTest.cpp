#include "app/StructWorker.h"

#include "platform/AppLocation.h"
#include "structpattern/PatternLoader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace tvx {
namespace {

constexpr std::chrono::seconds kPatience(60);

class StructWorkerTest : public ::testing::Test {
protected:
    StructWorker worker_{[this](StructWorker::Result* result) {
        std::lock_guard lock(mutex_);
        delivered_.emplace_back(result);
        arrived_.notify_all();
        return true;
    }};

    std::unique_ptr<StructWorker::Result> Next() {
        std::unique_lock lock(mutex_);
        if (!arrived_.wait_for(lock, kPatience, [&] { return !delivered_.empty(); })) return nullptr;
        auto result = std::move(delivered_.front());
        delivered_.erase(delivered_.begin());
        return result;
    }

    std::size_t DeliveredCount() {
        std::lock_guard lock(mutex_);
        return delivered_.size();
    }

    static StructEvalRequest BmpRequest(std::uint64_t width) {
        auto file = std::make_shared<StructPatternFile>();
        std::u16string error;
        EXPECT_TRUE(LoadStructPatternFile(platform::ExecutableDirectory() + u"/patterns/bmp.tvsd", *file, error));
        StructEvalRequest request;
        request.file = std::move(file);
        request.data.assign(static_cast<std::size_t>(StructRequestSize(*request.file)), 0);
        request.data[18] = static_cast<std::uint8_t>(width);  // biWidth
        request.unavailableText = u"n/a";
        request.format.numericBase = NumericBase::Dec;
        return request;
    }

    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<std::unique_ptr<StructWorker::Result>> delivered_;
};

TEST_F(StructWorkerTest, BuildsTheRowsOfTheRequest) {
    worker_.Start();
    const StructEvalRequest request = BmpRequest(7);
    const std::uint64_t generation = worker_.Submit(request);
    const auto result = Next();
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->generation, generation);
    const std::vector<StructViewRow> expected = BuildStructRows(request);
    ASSERT_EQ(result->value.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(result->value[i].name, expected[i].name);
        EXPECT_EQ(result->value[i].value, expected[i].value);
    }
    worker_.Stop();
}

// A request dropped before the worker took it is never computed: after the drop only the
// next request gives a result.
TEST_F(StructWorkerTest, DroppedRequestIsNeverComputed) {
    (void)worker_.Submit(BmpRequest(1));
    worker_.DropPending();
    worker_.Start();
    const std::uint64_t second = worker_.Submit(BmpRequest(2));
    const auto result = Next();
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->generation, second);
    worker_.Stop();  // joins: anything computed has been delivered by now
    EXPECT_EQ(DeliveredCount(), 0u);
}

}  // namespace
}  // namespace tvx
