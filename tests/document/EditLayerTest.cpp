// The edit layer against the byte-vector model of EditModel.h, then what the model does not
// see: files that change under the reader, huge repeated patterns, the piece tree.

#include "tests/document/EditModel.h"
#include "tests/document/OpenDocument.h"
#include "document/FileViewModel.h"
#include "document/PieceTree.h"

#include <random>
#include <tuple>

namespace tvx {
namespace {

using test::Bytes;
using test::OpenDocument;

Bytes RandomBytes(std::mt19937_64& random, std::size_t count) {
    Bytes bytes(count);
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random() & 0xFF);
    return bytes;
}

// The model's choices from a seeded generator; its first disagreement fails the test.
struct RandomChoices {
    explicit RandomChoices(std::uint64_t seed) : random(seed) {}
    std::uint64_t Below(std::uint64_t n) { return random() % n; }
    std::mt19937_64 random;
};

struct Checked {
    Checked(OpenDocument& doc, const Bytes& expected, RandomChoices& choices)
        : model(doc.document, doc.path, expected, choices, [this](const std::string& what) {
              ADD_FAILURE() << what;
              failed = true;
          }) {}
    bool failed = false;
    test::EditModel<RandomChoices> model;
};

// Some sequences keep every byte at its place, so the in-place writer is used; two in five are
// saved; one is a long edit session. Edits never reach the file unsaved, and closing drops
// them: then nothing can be edited or read.
TEST(EditLayerModel, RandomEditSequencesMatchAByteVectorAndSaveExactly) {
    RandomChoices choices(20261206);
    for (int sequence = 0; sequence < 2000; ++sequence) {
        SCOPED_TRACE("sequence " + std::to_string(sequence));
        const bool keepPositions = sequence % 3 == 0, session = sequence == 1;
        const Bytes contents = RandomBytes(choices.random, session ? 700 : choices.Below(48));
        OpenDocument doc(contents);
        Checked checked(doc, contents, choices);
        for (int i = session ? 20000 : static_cast<int>(choices.Below(40)); i > 0 && !checked.failed; --i) {
            checked.model.RandomStep(keepPositions, false);
            if (i % 2500 == 0) checked.model.CheckAll();
        }
        checked.model.CheckAll();
        EXPECT_TRUE(!keepPositions || doc.document.SavesInPlace());
        EXPECT_EQ(doc.OnDisk(), contents);
        if (sequence % 5 < 2) {
            checked.model.Save();
            checked.model.RandomStep(false, false);
            checked.model.CheckAll();
        }
        ASSERT_FALSE(checked.failed);
        const Bytes onDisk = doc.OnDisk();
        doc.document.Close();
        EXPECT_FALSE(doc.document.IsOpen() || doc.document.IsModified() || doc.document.GetSize() > 0);
        EXPECT_FALSE(doc.document.OverwriteByte(0, 1) || doc.document.InsertByte(0, 1) || doc.document.DeleteByte(0));
        EXPECT_TRUE(doc.document.ReadBytes(0, 1).bytes.empty());
        EXPECT_EQ(doc.OnDisk(), onDisk);
    }
}

// One edit near each 1 MiB boundary, and a structural one so the temporary file is used.
TEST(EditLayerModel, CopiesLargeUnchangedStretchesAcrossBlockBoundaries) {
    std::mt19937_64 random(5);
    Bytes expected = RandomBytes(random, (3 << 20) + 123);
    OpenDocument doc(expected);
    for (std::uint64_t at : {std::uint64_t{1} << 20, (std::uint64_t{2} << 20) - 1, std::uint64_t{3} << 20}) {
        ASSERT_TRUE(doc.document.OverwriteByte(at, static_cast<std::uint8_t>(expected[at] ^ 0xFF)));
        expected[at] ^= 0xFF;
    }
    ASSERT_TRUE(doc.document.InsertByte(5, 0x42));
    expected.insert(expected.begin() + 5, 0x42);
    EXPECT_FALSE(doc.document.SavesInPlace());
    RandomChoices choices(5);
    Checked checked(doc, expected, choices);
    checked.model.Save(4);
}

TEST(EditLayer, AReadStopsAtTheFirstByteTheFileCannotServe) {
    Bytes contents(100);
    for (std::size_t i = 0; i < contents.size(); ++i) contents[i] = static_cast<std::uint8_t>(i);
    OpenDocument doc(contents);
    ASSERT_TRUE(doc.document.InsertByte(10, 0xAA));
    ASSERT_TRUE(doc.document.DeleteByte(21));          // file byte 20
    ASSERT_TRUE(doc.document.OverwriteByte(30, 0xBB));  // file byte 30
    ASSERT_TRUE(doc.document.InsertByte(60, 0xCC));
    std::filesystem::resize_file(std::filesystem::path(doc.path), 40);  // another program shortens it
    Bytes expected(contents.begin(), contents.begin() + 40);
    expected[30] = 0xBB;
    expected.erase(expected.begin() + 20);
    expected.insert(expected.begin() + 10, 0xAA);
    EXPECT_EQ(doc.document.ReadBytes(0, 1000).bytes, expected);
    EXPECT_EQ(doc.document.ReadBytes(5, 20).bytes, Bytes(expected.begin() + 5, expected.begin() + 25));
}

// A tebibyte of a repeated pattern is held as its three bytes: inserting it, reading at its
// far end, filling over it and undoing take no more memory than that.
TEST(EditLayer, ARepeatedPatternCostsItsOwnBytesOnly) {
    OpenDocument doc({1, 2});
    constexpr std::uint64_t kCount = std::uint64_t{1} << 40;  // kCount % 3 == 1
    ASSERT_TRUE(doc.document.InsertRepeated(1, kCount, Bytes{7, 8, 9}));
    EXPECT_EQ(doc.document.GetSize(), kCount + 2);
    EXPECT_EQ(doc.document.ReadBytes(kCount - 2, 4).bytes, (Bytes{8, 9, 7, 2}));
    ASSERT_TRUE(doc.document.OverwriteRepeated(kCount - 1, 2, Bytes{5}));
    EXPECT_EQ(doc.document.ReadBytes(kCount - 2, 4).bytes, (Bytes{8, 5, 5, 2}));
    EXPECT_TRUE(doc.document.Undo());
    EXPECT_TRUE(doc.document.Undo());
    EXPECT_EQ(doc.ReadAll(), (Bytes{1, 2}));
}

// The file under the edit layer: its size is a snapshot taken at open, reads are cut there.
TEST(FileViewModel, ReadsAreCutAtTheSizeTakenAtOpen) {
    test::TempDir dir;
    test::WriteFileBytes(dir.File("f"), {10, 20, 30, 40});
    FileViewModel file;
    ASSERT_TRUE(file.Open(dir.File("f")));
    EXPECT_EQ(file.GetPath(), dir.File("f"));
    const ByteBlock last = file.ReadBytes(3, 100);
    EXPECT_EQ(last.offset, 3u);
    EXPECT_EQ(last.bytes, Bytes({40}));
    EXPECT_TRUE(file.ReadBytes(1, 0).bytes.empty());
    EXPECT_TRUE(file.ReadBytes(~std::uint64_t{0}, ~std::uint64_t{0}).bytes.empty());
    test::WriteFileBytes(dir.File("f"), {5, 6, 7, 8, 9});  // another program rewrites it
    EXPECT_EQ(file.GetSize(), 4u);
    EXPECT_EQ(file.ReadBytes(1, 10).bytes, Bytes({6, 7, 8}));
    // A failed open leaves it closed, even after another file.
    EXPECT_FALSE(file.Open(dir.File("missing")));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.GetSize(), 0u);
    EXPECT_TRUE(file.GetPath().empty());
    EXPECT_TRUE(file.ReadBytes(0, 1).bytes.empty());
    EXPECT_FALSE(file.Open(dir.Path().u16string()));  // a directory
}

// The piece tree under the edit layer against a model that spells every piece out byte by
// byte, with what each byte stands for.
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
