// Replace All and Replace against a naive model: matches taken left to right within a range,
// none overlapping the one before, each replaced by bytes of any length, as one undo step.

#include "search/ReplaceAll.h"
#include "tests/document/OpenDocument.h"

#include <random>

namespace tvx {
namespace {

using test::Bytes;

Bytes RandomBytes(std::mt19937_64& random, std::size_t count) {
    Bytes bytes(count);
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random() % 3);  // repetitive, so matches abound
    return bytes;
}

bool IsMatch(const Bytes& bytes, const Bytes& pattern, std::uint64_t at, std::uint64_t end) {
    return at + pattern.size() <= std::min<std::uint64_t>(end, bytes.size()) &&
           std::equal(pattern.begin(), pattern.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

// The naive model: every position tried in turn.
std::uint64_t NaiveReplace(Bytes& bytes, const Bytes& pattern, const Bytes& replacement, std::uint64_t begin,
                           std::uint64_t end, std::uint64_t limit) {
    Bytes out(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min<std::uint64_t>(begin, bytes.size())));
    std::uint64_t count = 0;
    for (std::uint64_t at = begin; at < bytes.size();) {
        if (count < limit && IsMatch(bytes, pattern, at, end)) {
            out.insert(out.end(), replacement.begin(), replacement.end());
            at += pattern.size();
            ++count;
        } else {
            out.push_back(bytes[at++]);
        }
    }
    bytes = out;
    return count;
}

TEST(ReplaceAll, AgreesWithANaiveModelAndIsOneUndoStep) {
    std::mt19937_64 random(2026);
    for (int round = 0; round < 600; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const Bytes contents = RandomBytes(random, random() % 64);
        test::OpenDocument doc(contents);
        Bytes expected = contents;
        // Earlier edits, so that the matches lie over every kind of piece.
        for (int i = static_cast<int>(random() % 4); i > 0 && !expected.empty(); --i) {
            const std::uint64_t at = random() % expected.size();
            const Bytes bytes = RandomBytes(random, 1 + random() % 3);
            if (random() % 2) {
                ASSERT_TRUE(doc.document.InsertBytes(at, bytes));
                expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin(), bytes.end());
            } else {
                ASSERT_TRUE(doc.document.OverwriteByte(at, bytes[0]));
                expected[at] = bytes[0];
            }
        }
        const Bytes before = expected;
        const Bytes pattern = RandomBytes(random, 1 + random() % 3);
        const Bytes replacement = RandomBytes(random, random() % 5);
        const std::uint64_t begin = random() % (expected.size() + 1);
        const std::uint64_t end = begin + random() % (expected.size() + 2);
        const std::uint64_t limit = random() % 4 ? UINT64_MAX : random() % 4;

        const std::uint64_t count = NaiveReplace(expected, pattern, replacement, begin, end, limit);
        const ReplaceOutcome outcome = ReplaceAll(doc.document, pattern, replacement, begin, end, limit, {}, {});
        EXPECT_EQ(outcome.status, count ? ReplaceStatus::Replaced : ReplaceStatus::NotFound);
        EXPECT_EQ(outcome.count, count);
        ASSERT_EQ(doc.ReadAll(), expected);
        if (count == 0) continue;
        ASSERT_TRUE(doc.document.Undo());
        ASSERT_EQ(doc.ReadAll(), before);
        ASSERT_TRUE(doc.document.Redo());
        ASSERT_EQ(doc.ReadAll(), expected);

        // Replace: the bytes at a spot are replaced only when they are a match.
        const std::uint64_t at = random() % (expected.size() + 1);
        const bool isMatch = IsMatch(expected, pattern, at, UINT64_MAX);
        EXPECT_EQ(ReplaceMatchAt(doc.document, pattern, replacement, at),
                  isMatch ? ReplaceStatus::Replaced : ReplaceStatus::NotFound);
        if (isMatch) {
            const auto from = expected.begin() + static_cast<std::ptrdiff_t>(at);
            expected.insert(expected.erase(from, from + static_cast<std::ptrdiff_t>(pattern.size())),
                            replacement.begin(), replacement.end());
        }
        ASSERT_EQ(doc.ReadAll(), expected);
    }
}

TEST(ReplaceAll, ACancelledScanChangesNothing) {
    const Bytes contents(3 << 20, 0x41);  // three blocks of matches
    test::OpenDocument doc(contents);
    int blocks = 0;
    const ReplaceOutcome outcome = ReplaceAll(doc.document, {0x41}, Bytes{0x42, 0x43}, 0, UINT64_MAX, UINT64_MAX,
                                              [&] { return ++blocks < 2; }, {});
    EXPECT_EQ(outcome.status, ReplaceStatus::Cancelled);
    EXPECT_EQ(blocks, 2);
    EXPECT_FALSE(doc.document.IsModified());
    EXPECT_FALSE(doc.document.CanUndo());
}

}  // namespace
}  // namespace tvx
