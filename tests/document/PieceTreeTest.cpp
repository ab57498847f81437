// The piece tree against a model that spells every piece out byte by byte.

#include "document/PieceTree.h"
#include "tests/document/EditModel.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

namespace tvx {
namespace {

// What one byte of a piece stands for.
struct ByteOrigin {
    PieceSource source;
    bool anchored;
    std::uint64_t file;
    std::uint64_t buffer;
    bool operator==(const ByteOrigin&) const = default;
};

std::vector<ByteOrigin> Spell(const std::vector<Piece>& pieces) {
    std::vector<ByteOrigin> bytes;
    for (const Piece& piece : pieces)
        for (std::uint64_t i = 0; i < piece.length; ++i) {
            const Piece one = piece.Slice(i, 1);
            bytes.push_back({one.source, one.anchored, one.CoversFile() ? one.fileOffset : 0,
                             one.UsesBuffer() ? one.bufferOffset : 0});
        }
    return bytes;
}

auto Tie(const PieceTotals& t) {
    return std::tuple(t.bytes, t.fileBytes, t.overwriteBytes, t.anchoredBytes, t.fileEnd);
}

TEST(PieceTree, RandomReplacementsSplitAndMergePiecesExactly) {
    std::mt19937_64 random(14);
    for (int run = 0; run < 200; ++run) {
        const std::uint64_t fileSize = random() % 64;
        PieceTree tree;
        tree.Reset(fileSize);
        std::vector<ByteOrigin> model = Spell({Piece{PieceSource::File, false, 0, 0, fileSize}});
        std::uint64_t buffer = 0;
        for (int edit = 0; edit < 60; ++edit) {
            const std::uint64_t offset = random() % (model.size() + 1);
            const std::uint64_t length = random() % (model.size() - offset + 1) % 9;
            // New pieces that sometimes continue what stands before them.
            std::vector<Piece> pieces;
            for (int i = static_cast<int>(random() % 3); i > 0; --i) {
                const auto source = static_cast<PieceSource>(random() % 3);
                const std::uint64_t count = 1 + random() % 5;
                const std::uint64_t file = random() % 2 && offset > 0 ? model[offset - 1].file + 1 : random() % 64;
                pieces.push_back(Piece{source, random() % 2 == 0, file, buffer, count});
                if (random() % 2) buffer += count;
            }
            ASSERT_EQ(Spell(tree.Replace(offset, length, pieces)), test::Part(model, offset, length));
            const std::vector<ByteOrigin> inserted = Spell(pieces);
            model.erase(model.begin() + static_cast<std::ptrdiff_t>(offset),
                        model.begin() + static_cast<std::ptrdiff_t>(offset + length));
            model.insert(model.begin() + static_cast<std::ptrdiff_t>(offset), inserted.begin(), inserted.end());

            const std::vector<Piece> all = tree.Collect(0, tree.Size());
            ASSERT_EQ(Spell(all), model) << "run " << run << ", edit " << edit;
            for (std::size_t i = 1; i < all.size(); ++i) {
                Piece previous = all[i - 1];
                ASSERT_FALSE(previous.Absorb(all[i])) << "pieces " << i - 1 << " and " << i << " continue each other";
            }
            PieceTotals expected;
            for (const ByteOrigin& byte : model) {
                ++expected.bytes;
                if (byte.source != PieceSource::Added) {
                    ++expected.fileBytes;
                    expected.fileEnd = std::max(expected.fileEnd, byte.file + 1);
                }
                expected.overwriteBytes += byte.source == PieceSource::Overwrite;
                expected.anchoredBytes += byte.source == PieceSource::Added && byte.anchored;
            }
            ASSERT_EQ(Tie(tree.Totals()), Tie(expected));
            if (!model.empty()) {
                const std::uint64_t at = random() % model.size(), count = random() % 20;
                ASSERT_EQ(Spell(tree.Collect(at, count)), test::Part(model, at, count));
            }
        }
    }
}

}  // namespace
}  // namespace tvx
