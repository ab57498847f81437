// The match marks of the rows on screen against a naive scan of the whole document.

#include "hexview/HexMetrics.h"
#include "hexview/MatchMarks.h"
#include "tests/hexview/HexViewFakes.h"

#include <gtest/gtest.h>

#include <random>

namespace tvx {
namespace {

TEST(MatchMarks, AgreeWithANaiveScanOfTheWholeDocument) {
    std::mt19937_64 random(11);
    for (int round = 0; round < 400; ++round) {
        std::vector<std::uint8_t> bytes(random() % 200);
        for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random() % 2);
        std::vector<std::uint8_t> pattern(random() % 5);
        for (auto& byte : pattern) byte = static_cast<std::uint8_t>(random() % 2);
        const test::MemoryDocument document(bytes);
        const std::uint64_t firstRow = random() % 14, rowCount = random() % 6;

        std::vector<bool> marked(bytes.size());
        for (std::size_t at = 0; !pattern.empty() && at + pattern.size() <= bytes.size(); ++at)
            if (std::equal(pattern.begin(), pattern.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at)))
                std::fill_n(marked.begin() + static_cast<std::ptrdiff_t>(at), pattern.size(), true);
        std::vector<std::uint16_t> expected;
        for (std::uint64_t row = firstRow; row < firstRow + rowCount && row * kBytesPerRow < bytes.size(); ++row) {
            std::uint16_t mask = 0;
            for (std::uint64_t i = 0; i < kBytesPerRow && row * kBytesPerRow + i < bytes.size(); ++i)
                if (marked[row * kBytesPerRow + i]) mask = static_cast<std::uint16_t>(mask | 1u << i);
            expected.push_back(mask);
        }
        EXPECT_EQ(MatchMasks(document, pattern, firstRow, rowCount), expected) << "round " << round;
    }
}

}  // namespace
}  // namespace tvx
