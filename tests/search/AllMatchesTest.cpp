// ScanAllMatches against a naive scan: every overlapping match, both directions, across the
// 1 MiB block boundaries.

#include "search/AllMatches.h"
#include "search/SearchEngine.h"
#include "tests/search/MemoryDocument.h"

#include <gtest/gtest.h>

#include <random>

namespace tvx {
namespace {

std::vector<std::uint64_t> NaiveMatches(const std::vector<std::uint8_t>& data, const SearchPattern& pattern,
                                        std::uint64_t start, bool backward) {
    std::vector<std::uint64_t> found;
    for (std::uint64_t at = 0; at + pattern.size() <= data.size(); ++at) {
        if (backward ? at > start : at < start) continue;
        if (std::equal(pattern.begin(), pattern.end(), data.begin() + static_cast<std::ptrdiff_t>(at))) found.push_back(at);
    }
    if (backward) std::reverse(found.begin(), found.end());
    return found;
}

TEST(ScanAllMatches, AgreesWithANaiveScanOnRepetitiveData) {
    std::mt19937 random(18);
    for (int round = 0; round < 12; ++round) {
        // Two letters make overlaps common; some rounds reach past one or two blocks.
        const std::size_t size = round % 3 == 0 ? kSearchBlockSize * 2 + random() % 5000 : random() % 3000;
        std::vector<std::uint8_t> data(size);
        for (auto& byte : data) byte = static_cast<std::uint8_t>('a' + (random() % 8 == 0));
        const test::MemoryDocument document(data);
        SearchPattern pattern(1 + random() % 5);
        for (auto& byte : pattern) byte = static_cast<std::uint8_t>('a' + (random() % 4 == 0));
        for (const bool backward : {false, true}) {
            const std::uint64_t start = random() % (size + 10);
            std::vector<std::uint64_t> found;
            const ScanOutcome outcome = ScanAllMatches(&document, pattern, start, backward, [&](std::uint64_t at) {
                found.push_back(at);
                return true;
            });
            EXPECT_EQ(outcome, ScanOutcome::Complete);
            ASSERT_EQ(found, NaiveMatches(data, pattern, start, backward))
                << "round " << round << " size " << size << " start " << start << " backward " << backward;
        }
    }
    // The callback ends the scan.
    const test::MemoryDocument zeros(std::vector<std::uint8_t>(100));
    int calls = 0;
    EXPECT_EQ(ScanAllMatches(&zeros, {0}, 0, false, [&](std::uint64_t) { return ++calls < 3; }), ScanOutcome::Stopped);
    EXPECT_EQ(calls, 3);
}

}  // namespace
}  // namespace tvx
