// The scans against a naive model: std::search over the whole document, for random documents,
// random patterns, matches planted across block boundaries and every class of start position.

#include "search/SearchEngine.h"

#include "tests/document/OpenDocument.h"
#include "tests/search/MemoryDocument.h"

#include <gtest/gtest.h>

#include <random>

namespace tvx {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::uint64_t kBlock = kSearchBlockSize;

std::optional<std::uint64_t> NaiveForward(const Bytes& bytes, const Bytes& pattern, std::uint64_t start) {
    if (pattern.empty() || pattern.size() > bytes.size() || start >= bytes.size()) return std::nullopt;
    const auto match = std::search(bytes.begin() + static_cast<std::ptrdiff_t>(start), bytes.end(), pattern.begin(), pattern.end());
    if (match == bytes.end()) return std::nullopt;
    return static_cast<std::uint64_t>(match - bytes.begin());
}

std::optional<std::uint64_t> NaiveBackward(const Bytes& bytes, const Bytes& pattern, std::uint64_t start) {
    if (pattern.empty() || pattern.size() > bytes.size()) return std::nullopt;
    const std::uint64_t last = std::min<std::uint64_t>(bytes.size() - pattern.size(), start);
    const auto end = bytes.begin() + static_cast<std::ptrdiff_t>(last + pattern.size());
    const auto match = std::find_end(bytes.begin(), end, pattern.begin(), pattern.end());
    if (match == end) return std::nullopt;
    return static_cast<std::uint64_t>(match - bytes.begin());
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
        Bytes pattern(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
        if (random_() % 5 == 0) pattern.back() ^= 0x80;  // usually absent
        return pattern;
    }

    std::uint64_t Start(std::uint64_t size) {
        switch (random_() % 6) {
        case 0: return 0;
        case 1: return size ? size - 1 : 0;
        case 2: return size + random_() % 3;
        case 3: {
            const std::uint64_t boundary = kBlock * (random_() % 3);
            return boundary + random_() % 9 - 4 + (boundary ? 0 : 4);
        }
        default: return random_() % (size + 1);
        }
    }

private:
    std::mt19937_64 random_;
};

void ExpectSameAsModel(const IReadOnlyDocument& document, const Bytes& bytes, const Bytes& pattern, std::uint64_t start) {
    const auto forward = ForwardSearch(&document, pattern, start, {}, {});
    const auto expectedForward = NaiveForward(bytes, pattern, start);
    ASSERT_EQ(forward.found, expectedForward.has_value()) << "forward from " << start << ", length " << pattern.size();
    if (expectedForward) {
        ASSERT_EQ(forward.position, *expectedForward) << "forward from " << start;
    }

    const auto backward = BackwardSearch(&document, pattern, start, {}, {});
    const auto expectedBackward = NaiveBackward(bytes, pattern, start);
    ASSERT_EQ(backward.found, expectedBackward.has_value()) << "backward from " << start << ", length " << pattern.size();
    if (expectedBackward) {
        ASSERT_EQ(backward.position, *expectedBackward) << "backward from " << start;
    }
}

TEST(SearchDifferential, MatchesTheNaiveScanOnRandomDocuments) {
    Scenario scenario(1234);
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{7}, std::size_t{5000}, std::size_t{kBlock - 1},
                             std::size_t{kBlock}, std::size_t{kBlock + 3}, std::size_t{2 * kBlock + 333}}) {
        const Bytes bytes = scenario.Document(size);
        const test::MemoryDocument document(bytes);
        const int rounds = size > 10000 ? 25 : 200;
        for (int round = 0; round < rounds; ++round) {
            SCOPED_TRACE("size " + std::to_string(size) + ", round " + std::to_string(round));
            ASSERT_NO_FATAL_FAILURE(ExpectSameAsModel(document, bytes, scenario.Pattern(bytes), scenario.Start(size)));
        }
    }
}

TEST(SearchDifferential, SearchesThroughTheEditLayer) {
    Scenario scenario(99);
    Bytes bytes = scenario.Document(kBlock + 3000);
    test::OpenDocument doc(bytes);
    // Structural edits force the merged read path; keep the model in step.
    std::mt19937_64 random(5);
    for (int i = 0; i < 6; ++i) {
        const std::uint64_t at = kBlock - 1500 + random() % 3000;
        const auto value = static_cast<std::uint8_t>(random() % 3);
        if (i % 2) {
            ASSERT_TRUE(doc.document.DeleteByte(at));
            bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at));
        } else {
            ASSERT_TRUE(doc.document.InsertByte(at, value));
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), value);
        }
    }
    ASSERT_TRUE(doc.document.OverwriteByte(kBlock, 9));
    bytes[kBlock] = 9;
    // Few rounds: every backward scan reads a whole block through the byte-by-byte merged path.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const Bytes pattern = scenario.Pattern(bytes);
        ASSERT_NO_FATAL_FAILURE(ExpectSameAsModel(doc.document, bytes, pattern, kBlock - 2000 + random() % 4000));
    }
}

}  // namespace
}  // namespace tvx
