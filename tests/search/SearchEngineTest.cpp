#include "search/SearchEngine.h"

#include "tests/search/MemoryDocument.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

using test::MemoryDocument;
using Bytes = std::vector<std::uint8_t>;
constexpr std::uint64_t kBlock = kSearchBlockSize;

Bytes Zeros(std::size_t size) { return Bytes(size, 0); }

void Plant(Bytes& bytes, std::uint64_t at, const Bytes& pattern) {
    std::copy(pattern.begin(), pattern.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

SearchResult Forward(const MemoryDocument& doc, const Bytes& pattern, std::uint64_t start) {
    return ForwardSearch(&doc, pattern, start, {}, {});
}

SearchResult Backward(const MemoryDocument& doc, const Bytes& pattern, std::uint64_t start) {
    return BackwardSearch(&doc, pattern, start, {}, {});
}

TEST(SearchEngine, MatchAcrossABlockBoundaryIsFoundBothWays) {
    Bytes bytes = Zeros(2 * kBlock + 10);
    const Bytes pattern = {1, 2, 3, 4};
    Plant(bytes, kBlock - 2, pattern);
    const MemoryDocument doc(bytes);
    EXPECT_EQ(Forward(doc, pattern, 0).position, kBlock - 2);
    EXPECT_TRUE(Forward(doc, pattern, 0).found);
    EXPECT_EQ(Backward(doc, pattern, bytes.size()).position, kBlock - 2);
    EXPECT_EQ(Backward(doc, pattern, bytes.size()).status, SearchStatus::Found);
}

TEST(SearchEngine, OverlappingMatchesAreEachFound) {
    const MemoryDocument doc(Bytes{7, 7, 7, 7});
    const Bytes pattern = {7, 7};
    EXPECT_EQ(Forward(doc, pattern, 1).position, 1u);
    EXPECT_EQ(Forward(doc, pattern, 2).position, 2u);
    EXPECT_FALSE(Forward(doc, pattern, 3).found);
    EXPECT_EQ(Backward(doc, pattern, 10).position, 2u);
    EXPECT_EQ(Backward(doc, pattern, 1).position, 1u);
    EXPECT_EQ(Backward(doc, pattern, 0).position, 0u);
}

TEST(SearchEngine, NothingToSearch) {
    const MemoryDocument doc(Bytes{1, 2, 3});
    EXPECT_EQ(Forward(doc, {1, 2, 3, 4}, 0).status, SearchStatus::NotFound);  // longer than the document
    EXPECT_EQ(Backward(doc, {1, 2, 3, 4}, 0).status, SearchStatus::NotFound);
    EXPECT_EQ(Forward(doc, {}, 0).status, SearchStatus::NotFound);
    EXPECT_EQ(Forward(doc, {3}, 3).status, SearchStatus::NotFound);           // start at the end
    EXPECT_EQ(ForwardSearch(nullptr, {1}, 0, {}, {}).status, SearchStatus::NotFound);
    EXPECT_EQ(Forward(doc, {1, 2, 3}, 0).position, 0u);
    EXPECT_EQ(Backward(doc, {1, 2, 3}, 99).position, 0u);
}

TEST(SearchEngine, CancelStopsAtTheNextBlock) {
    const MemoryDocument doc(Zeros(3 * kBlock));
    int checks = 0;
    const SearchCancelCheck cancelSecond = [&] { return ++checks < 2; };
    EXPECT_EQ(ForwardSearch(&doc, {1}, 0, cancelSecond, {}).status, SearchStatus::Cancelled);
    EXPECT_EQ(checks, 2);
    checks = 0;
    const auto result = BackwardSearch(&doc, {1}, 3 * kBlock, cancelSecond, {});
    EXPECT_EQ(result.status, SearchStatus::Cancelled);
    EXPECT_FALSE(result.found);
}

TEST(SearchEngine, ProgressMovesOncePerBlockUpToTheTotal) {
    const std::uint64_t size = 2 * kBlock + 5;
    const MemoryDocument doc(Zeros(size));
    std::vector<std::size_t> forward, backward;
    (void)ForwardSearch(&doc, {1}, 0, {}, [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, size);
        forward.push_back(done);
    });
    EXPECT_EQ(forward, (std::vector<std::size_t>{0, kBlock, 2 * kBlock, size}));
    (void)BackwardSearch(&doc, {1}, size, {}, [&](std::size_t done, std::size_t) { backward.push_back(done); });
    EXPECT_EQ(backward, (std::vector<std::size_t>{0, kBlock, 2 * kBlock, size}));
    EXPECT_EQ(doc.Reads(), 6);
}

TEST(SearchEngine, BackwardScanOfRepetitiveDataStaysLinear) {
    // Every offset matches: a scan that visited each match would do block size x pattern
    // length work; the read count shows it looks at one block only.
    const MemoryDocument doc(Zeros(2 * kBlock));
    const Bytes pattern(4096, 0);
    const auto result = Backward(doc, pattern, 2 * kBlock);
    EXPECT_EQ(result.position, 2 * kBlock - 4096);
    EXPECT_EQ(doc.Reads(), 1);
}

}  // namespace
}  // namespace tvx
