// The scans against a naive model that lists every match, for random documents, random
// patterns, matches planted across block boundaries and every class of start position.

#include "search/AllMatches.h"
#include "search/SearchEngine.h"

#include "tests/document/OpenDocument.h"
#include "tests/search/MemoryDocument.h"

#include <random>

namespace tvx {
namespace {

using test::Bytes;
using Offsets = std::vector<std::uint64_t>;
constexpr std::uint64_t kBlock = kSearchBlockSize;

// The matches, overlapping ones included, from the start forward or from it backward: every
// one, or only the first.
Offsets NaiveMatches(const Bytes& bytes, const Bytes& pattern, std::uint64_t start, bool backward, bool all) {
    Offsets found;
    if (pattern.empty() || pattern.size() > bytes.size()) return found;
    const std::uint64_t last = bytes.size() - pattern.size();
    for (std::uint64_t at = backward ? std::min(start, last) : start; at <= last && (all || found.empty());
         backward ? --at : ++at)
        if (std::equal(pattern.begin(), pattern.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at)))
            found.push_back(at);
    return found;
}

class Scenario {
public:
    explicit Scenario(std::uint64_t seed) : random_(seed) {}

    // Bytes from a small alphabet, so that partial and overlapping matches are common.
    Bytes Document(std::size_t size) {
        Bytes bytes(size);
        const unsigned alphabet = 2 + static_cast<unsigned>(random_() % 3);
        for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random_() % alphabet);
        return bytes;
    }

    // A pattern taken from the document around a block boundary, or a random one.
    Bytes Pattern(const Bytes& bytes) {
        const std::size_t length = 1 + (random_() % 4 == 0 ? random_() % 300 : random_() % 6);
        if (length > bytes.size()) return Bytes(length, 1);
        std::uint64_t at = random_() % (bytes.size() - length + 1);
        if (random_() % 2 && bytes.size() > kBlock) {
            const std::uint64_t boundary = kBlock * (1 + random_() % (bytes.size() / kBlock));
            const std::uint64_t back = random_() % (length + 1);
            at = std::min<std::uint64_t>(boundary > back ? boundary - back : 0, bytes.size() - length);
        }
        Bytes pattern(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                      bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
        if (random_() % 5 == 0) pattern.back() ^= 0x80;  // usually absent
        return pattern;
    }

    // The first or last byte, beyond the end, around a block boundary (even before the first
    // one, wrapping to the far end of the range), anywhere.
    std::uint64_t Start(std::uint64_t size) {
        const std::uint64_t starts[] = {0, size ? size - 1 : 0, size + random_() % 3,
                                        kBlock * (random_() % 3) + random_() % 9 - 4, random_() % (size + 1)};
        return starts[std::min<std::uint64_t>(random_() % 6, 4)];
    }

private:
    std::mt19937_64 random_;
};

// The first match of each direction, and with allMatches every match, as the model has them.
void ExpectSameAsModel(const IReadOnlyDocument& document, const Bytes& bytes, const Bytes& pattern,
                       std::uint64_t start, bool allMatches) {
    for (const bool backward : {false, true}) {
        SCOPED_TRACE((backward ? "backward from " : "forward from ") + std::to_string(start) + ", length " +
                     std::to_string(pattern.size()));
        const Offsets expected = NaiveMatches(bytes, pattern, start, backward, allMatches);
        const SearchResult result = backward ? BackwardSearch(&document, pattern, start, {}, {})
                                             : ForwardSearch(&document, pattern, start, {}, {});
        ASSERT_EQ(result.found, !expected.empty());
        ASSERT_EQ(result.status, expected.empty() ? SearchStatus::NotFound : SearchStatus::Found);
        if (result.found) {
            ASSERT_EQ(result.position, expected.front());
        }
        if (!allMatches) continue;
        Offsets found;
        const ScanOutcome outcome = ScanAllMatches(&document, pattern, start, backward, [&](std::uint64_t at) {
            found.push_back(at);
            return true;
        });
        EXPECT_EQ(outcome, ScanOutcome::Complete);
        ASSERT_EQ(found, expected);
    }
}

TEST(SearchDifferential, MatchesTheNaiveScanOnRandomDocuments) {
    Scenario scenario(1234);
    const std::uint64_t sizes[] = {0, 1, 7, 5000, kBlock - 1, kBlock, kBlock + 3, 2 * kBlock + 333};
    for (const std::uint64_t size : sizes) {
        const Bytes bytes = scenario.Document(size);
        const test::MemoryDocument document(bytes);
        const int rounds = size > 10000 ? 25 : 200;
        for (int round = 0; round < rounds; ++round) {
            SCOPED_TRACE("size " + std::to_string(size) + ", round " + std::to_string(round));
            ASSERT_NO_FATAL_FAILURE(
                ExpectSameAsModel(document, bytes, scenario.Pattern(bytes), scenario.Start(size), round % 5 == 0));
        }
    }
}

TEST(SearchDifferential, SearchesThroughTheEditLayer) {
    Scenario scenario(99);
    Bytes bytes = scenario.Document(kBlock + 3000);
    test::OpenDocument doc(bytes);
    // Structural edits around the block boundary force the merged read path.
    const Bytes added = scenario.Document(3);
    ASSERT_TRUE(doc.document.InsertBytes(kBlock - 700, added));
    bytes.insert(bytes.begin() + kBlock - 700, added.begin(), added.end());
    ASSERT_TRUE(doc.document.DeleteBytes(kBlock + 500, 2));
    bytes.erase(bytes.begin() + kBlock + 500, bytes.begin() + kBlock + 502);
    ASSERT_TRUE(doc.document.OverwriteByte(kBlock, 9));
    bytes[kBlock] = 9;
    std::mt19937_64 random(5);
    // Few rounds: every backward scan reads a whole block through the byte-by-byte merged path.
    for (int round = 0; round < 2; ++round) {
        const Bytes pattern = scenario.Pattern(bytes);
        const std::uint64_t start = kBlock - 2000 + random() % 4000;
        ASSERT_NO_FATAL_FAILURE(ExpectSameAsModel(doc.document, bytes, pattern, start, false));
    }
}

TEST(SearchEngine, NothingToSearchAndCallbacksThatStopTheScan) {
    const test::MemoryDocument small(Bytes{1, 2, 3});
    EXPECT_EQ(ForwardSearch(&small, {}, 0, {}, {}).status, SearchStatus::NotFound);
    EXPECT_EQ(ForwardSearch(nullptr, {1}, 0, {}, {}).status, SearchStatus::NotFound);
    int calls = 0;
    EXPECT_EQ(ScanAllMatches(&small, {2}, 0, false, [&](std::uint64_t) { return ++calls > 1; }), ScanOutcome::Stopped);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(ScanAllMatches(&small, {2}, UINT64_MAX - 1, false, [](std::uint64_t) { return true; }),
              ScanOutcome::Complete);  // a start that start + length would wrap
    // Cancelling stops at the next block.
    const test::MemoryDocument doc(Bytes(3 * kBlock, 0));
    const SearchCancelCheck cancelSecond = [&] { return ++calls % 2 == 1; };
    calls = 0;
    EXPECT_EQ(ForwardSearch(&doc, {1}, 0, cancelSecond, {}).status, SearchStatus::Cancelled);
    EXPECT_EQ(calls, 2);
    const auto result = BackwardSearch(&doc, {1}, 3 * kBlock, cancelSecond, {});
    EXPECT_EQ(result.status, SearchStatus::Cancelled);
    EXPECT_FALSE(result.found);
}

// Progress moves once per block up to the total, one read per block.
TEST(SearchEngine, ProgressAndReadsGoByBlocks) {
    const std::uint64_t size = 2 * kBlock + 5;
    const test::MemoryDocument doc(Bytes(size, 0));
    for (const bool backward : {false, true}) {
        std::vector<std::size_t> reports;
        const auto progress = [&](std::size_t done, std::size_t total) {
            EXPECT_EQ(total, size);
            reports.push_back(done);
        };
        (void)(backward ? BackwardSearch(&doc, {1}, size, {}, progress) : ForwardSearch(&doc, {1}, 0, {}, progress));
        EXPECT_EQ(reports, (std::vector<std::size_t>{0, kBlock, 2 * kBlock, size}));
    }
    EXPECT_EQ(doc.Reads(), 6);
    // Every offset matches: a scan that visited each match would do block size x pattern
    // length work; the read count shows it looks at one block only.
    const test::MemoryDocument zeros(Bytes(2 * kBlock, 0));
    EXPECT_EQ(BackwardSearch(&zeros, Bytes(4096, 0), 2 * kBlock, {}, {}).position, 2 * kBlock - 4096);
    EXPECT_EQ(zeros.Reads(), 1);
}

}  // namespace
}  // namespace tvx
