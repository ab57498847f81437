// The edit layer against the simplest model there is: a byte vector edited in place, with
// its history kept as whole copies.

#include "tests/document/OpenDocument.h"
#include "document/EditGroup.h"
#include "platform/Utf8.h"

#include <random>

namespace tvx {
namespace {

using test::Bytes;
using test::OpenDocument;

class Model {
public:
    Model(OpenDocument& doc, const Bytes& contents, std::mt19937_64& random)
        : doc_(doc), bytes_(contents), random_(random) {}

    // One random edit, applied to both; the verdicts must agree. Returns whether it was made.
    bool RandomEdit(bool keepPositions) {
        const std::uint64_t size = bytes_.size();
        const auto value = static_cast<std::uint8_t>(random_() & 0xFF);
        const int kind = static_cast<int>(random_() % 3);
        // Offsets up to size + 1 to exercise refusals at and beyond the end.
        std::uint64_t offset = random_() % (size + 2);
        if (keepPositions && kind != 0) offset = kind == 1 ? size : (size ? size - 1 : 0);
        bool expected = false;
        if (kind == 0) {
            expected = offset < size;
            EXPECT_EQ(doc_.document.OverwriteByte(offset, value), expected) << "overwrite at " << offset;
            if (expected) bytes_[offset] = value;
        } else if (kind == 1) {
            expected = offset <= size;
            EXPECT_EQ(doc_.document.InsertByte(offset, value), expected) << "insert at " << offset;
            if (expected) bytes_.insert(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), value);
        } else {
            expected = offset < size;
            EXPECT_EQ(doc_.document.DeleteByte(offset), expected) << "delete at " << offset;
            if (expected) bytes_.erase(bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
        }
        return expected;
    }

    // One random edit of several bytes (never of none), which may run past the end.
    bool RandomBulkEdit() {
        const std::uint64_t size = bytes_.size();
        const std::uint64_t offset = random_() % (size + 2);
        const std::uint64_t count = 1 + random_() % 12;
        const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(std::min(offset, size));
        const bool fits = offset + count <= size;
        Bytes bytes(count);
        for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random_() & 0xFF);
        switch (random_() % 5) {
            case 4: return RandomRepeated();
            case 3: return RandomReplaceEach();
            case 0:
                EXPECT_EQ(doc_.document.OverwriteBytes(offset, bytes), fits) << "overwrite " << count << " at " << offset;
                if (fits) std::copy(bytes.begin(), bytes.end(), begin);
                return fits;
            case 1:
                EXPECT_EQ(doc_.document.InsertBytes(offset, bytes), offset <= size) << "insert at " << offset;
                if (offset <= size) bytes_.insert(begin, bytes.begin(), bytes.end());
                return offset <= size;
            default:
                EXPECT_EQ(doc_.document.DeleteBytes(offset, count), fits) << "delete " << count << " at " << offset;
                if (fits) bytes_.erase(begin, begin + static_cast<std::ptrdiff_t>(count));
                return fits;
        }
    }

    // A pattern of 1 to 4 bytes repeated over up to 40 bytes, inserted or written over.
    bool RandomRepeated() {
        const std::uint64_t size = bytes_.size();
        const std::uint64_t offset = random_() % (size + 2);
        const std::uint64_t count = random_() % 41;
        const Bytes pattern = RandomBytes(1 + random_() % 4);
        Bytes bytes(count);
        for (std::uint64_t i = 0; i < count; ++i) bytes[i] = pattern[i % pattern.size()];
        const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(std::min(offset, size));
        if (random_() % 2) {
            const bool fits = offset <= size;
            EXPECT_EQ(doc_.document.InsertRepeated(offset, count, pattern), fits) << "insert repeated at " << offset;
            if (fits) bytes_.insert(begin, bytes.begin(), bytes.end());
            return fits && count > 0;
        }
        const bool fits = offset <= size && count <= size - offset;
        EXPECT_EQ(doc_.document.OverwriteRepeated(offset, count, pattern), fits) << "fill " << count << " at " << offset;
        if (fits) std::copy(bytes.begin(), bytes.end(), begin);
        return fits && count > 0;
    }

    // Equal ranges replaced by one run of bytes, at random spots; one range in eight
    // overlaps the one before it, and the edit must then be refused.
    bool RandomReplaceEach() {
        const std::uint64_t size = bytes_.size();
        const std::uint64_t length = random_() % 5;
        Bytes bytes = RandomBytes(random_() % 6);
        std::vector<std::uint64_t> offsets;
        bool valid = true;
        for (std::uint64_t at = random_() % (size + 1); at + length <= size && offsets.size() < 8;) {
            if (!offsets.empty() && random_() % 8 == 0) {
                at = offsets.back() + (length ? random_() % length : 0);
                valid = false;
            }
            offsets.push_back(at);
            at += length + random_() % 20 + (length == 0);
        }
        EXPECT_EQ(doc_.document.ReplaceEach(offsets, length, bytes, {}), valid) << "replace " << offsets.size();
        if (!valid) return false;
        for (auto offset = offsets.rbegin(); offset != offsets.rend(); ++offset) {
            const auto at = bytes_.begin() + static_cast<std::ptrdiff_t>(*offset);
            bytes_.insert(bytes_.erase(at, at + static_cast<std::ptrdiff_t>(length)), bytes.begin(), bytes.end());
        }
        return !offsets.empty() && (length > 0 || !bytes.empty());
    }

    Bytes RandomBytes(std::size_t count) {
        Bytes bytes(count);
        for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random_() & 0xFF);
        return bytes;
    }

    // A random user action: an edit, a group of edits, an undo or a redo, checked against the
    // model's own history of whole byte vectors.
    void RandomStep(bool keepPositions) {
        const Bytes before = bytes_;
        const unsigned choice = static_cast<unsigned>(random_() % 10);
        if (choice == 0 || choice == 1) {
            const bool undo = choice == 0;
            auto& from = undo ? undo_ : redo_;
            auto& to = undo ? redo_ : undo_;
            ASSERT_EQ(undo ? doc_.document.CanUndo() : doc_.document.CanRedo(), !from.empty());
            const std::optional<EditRange> range = undo ? doc_.document.Undo() : doc_.document.Redo();
            ASSERT_EQ(range.has_value(), !from.empty()) << (undo ? "undo" : "redo");
            if (!range) return;
            to.push_back(bytes_);
            bytes_ = from.back();
            from.pop_back();
            EXPECT_LE(range->offset + range->length, bytes_.size());
            if (undo_.empty()) {
                EXPECT_FALSE(doc_.document.IsModified()) << "undone to the saved state";
            }
            return;
        }
        bool changed = false;
        if (choice == 2 && !keepPositions) {
            EditGroup group(doc_.document);
            for (int i = static_cast<int>(random_() % 4); i >= 0; --i)
                changed = (random_() % 2 ? RandomBulkEdit() : RandomEdit(false)) || changed;
        } else if (choice == 3 && !keepPositions) {
            changed = RandomReplaceEach();
        } else {
            changed = RandomEdit(keepPositions);
        }
        if (changed) {
            undo_.push_back(before);
            redo_.clear();
        }
    }

    void CheckRandomRead() {
        const std::uint64_t size = bytes_.size();
        ASSERT_EQ(doc_.document.GetLogicalSize(), size);
        const std::uint64_t offset = random_() % (size + 2);
        const std::uint64_t count = random_() % 40;
        const ByteBlock block = doc_.document.ReadBytes(offset, count);
        ASSERT_EQ(block.offset, offset);
        const std::uint64_t begin = std::min(offset, size);
        const std::uint64_t end = std::min(size, begin + count);
        ASSERT_EQ(block.bytes, Bytes(bytes_.begin() + static_cast<std::ptrdiff_t>(begin),
                                     bytes_.begin() + static_cast<std::ptrdiff_t>(end)))
            << "read " << count << " at " << offset;
    }

    void CheckAll() const { ASSERT_EQ(doc_.ReadAll(), bytes_); }
    const Bytes& Expected() const { return bytes_; }
    // A save starts an empty history.
    void Saved() {
        undo_.clear();
        redo_.clear();
    }

private:
    OpenDocument& doc_;
    Bytes bytes_;
    std::mt19937_64& random_;
    std::vector<Bytes> undo_;
    std::vector<Bytes> redo_;
};

Bytes RandomBytes(std::mt19937_64& random, std::size_t size) {
    Bytes bytes(size);
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random() & 0xFF);
    return bytes;
}

void SaveAndCompare(OpenDocument& doc, const Bytes& expected) {
    ASSERT_TRUE(doc.document.Save({})) << platform::EncodeUtf8(doc.document.LastErrorText());
    EXPECT_FALSE(doc.document.IsModified());
    EXPECT_EQ(doc.document.GetSize(), expected.size());
    EXPECT_EQ(doc.OnDisk(), expected);
    EXPECT_EQ(doc.ReadAll(), expected);
    EXPECT_EQ(doc.dir.List(), std::vector<std::string>{"doc.bin"});  // no temporary file left
}

TEST(EditLayerModel, RandomEditSequencesMatchAByteVectorAndSaveExactly) {
    std::mt19937_64 random(20261206);
    for (int sequence = 0; sequence < 2000; ++sequence) {
        SCOPED_TRACE("sequence " + std::to_string(sequence));
        const Bytes contents = RandomBytes(random, random() % 48);
        OpenDocument doc(contents);
        Model model(doc, contents, random);
        // Some sequences keep every byte at its place, so the in-place writer is used. Two in
        // five sequences are saved (each save flushes to disk, which is slow).
        const bool keepPositions = sequence % 3 == 0;
        const bool save = sequence % 5 < 2;
        const int edits = static_cast<int>(random() % 40);
        for (int i = 0; i < edits; ++i) {
            ASSERT_NO_FATAL_FAILURE(model.RandomStep(keepPositions));
            ASSERT_NO_FATAL_FAILURE(model.CheckRandomRead());
        }
        ASSERT_NO_FATAL_FAILURE(model.CheckAll());
        if (keepPositions) {
            EXPECT_TRUE(doc.document.SavesInPlace());
        }
        if (save) {
            // A save that writes nothing keeps the history, which still fits the file.
            const bool writes = doc.document.IsModified();
            ASSERT_NO_FATAL_FAILURE(SaveAndCompare(doc, model.Expected()));
            if (writes) {
                model.Saved();
                EXPECT_FALSE(doc.document.CanUndo());
            }
            ASSERT_NO_FATAL_FAILURE(model.RandomStep(false));
            ASSERT_NO_FATAL_FAILURE(model.CheckAll());
        }
    }
}

TEST(EditLayerModel, LongEditSessionStaysInStep) {
    std::mt19937_64 random(77);
    const Bytes contents = RandomBytes(random, 700);
    OpenDocument doc(contents);
    Model model(doc, contents, random);
    for (int i = 0; i < 20000; ++i) {
        ASSERT_NO_FATAL_FAILURE(model.RandomStep(false)) << "edit " << i;
        ASSERT_NO_FATAL_FAILURE(model.CheckRandomRead()) << "edit " << i;
        if (i % 2500 == 0) {
            ASSERT_NO_FATAL_FAILURE(model.CheckAll());
        }
    }
    ASSERT_NO_FATAL_FAILURE(SaveAndCompare(doc, model.Expected()));
}

TEST(EditLayerModel, CopiesLargeUnchangedStretchesAcrossBlockBoundaries) {
    std::mt19937_64 random(5);
    const Bytes contents = RandomBytes(random, (3 << 20) + 123);
    OpenDocument doc(contents);
    Bytes expected = contents;
    // One edit near each 1 MiB boundary, and a structural one so the temporary file is used.
    for (std::uint64_t at : {std::uint64_t{1} << 20, (std::uint64_t{2} << 20) - 1, std::uint64_t{3} << 20}) {
        ASSERT_TRUE(doc.document.OverwriteByte(at, static_cast<std::uint8_t>(expected[at] ^ 0xFF)));
        expected[at] ^= 0xFF;
    }
    ASSERT_TRUE(doc.document.InsertByte(5, 0x42));
    expected.insert(expected.begin() + 5, 0x42);
    EXPECT_FALSE(doc.document.SavesInPlace());
    std::size_t lastDone = 0, calls = 0;
    ASSERT_TRUE(doc.document.Save([&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, expected.size());
        EXPECT_LE(done, total);
        EXPECT_GE(done, lastDone);
        lastDone = done;
        ++calls;
    }));
    EXPECT_EQ(lastDone, expected.size());
    EXPECT_GE(calls, 4u);
    EXPECT_EQ(doc.OnDisk(), expected);
}

}  // namespace
}  // namespace tvx
