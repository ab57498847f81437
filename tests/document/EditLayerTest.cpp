// The edit layer against the simplest model there is: a byte vector edited in place, each byte
// knowing the file byte it stands on (if any) and whether it differs from it, with its history
// kept as whole copies. Modified state and changed ranges follow from the origins. Then what the
// model does not see: closing, files that change under the reader, huge repeated patterns.

#include "tests/document/OpenDocument.h"
#include "document/EditGroup.h"
#include "document/FileViewModel.h"
#include "platform/Utf8.h"

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

// The file byte under a document byte (-1: inserted) and whether the document byte is new.
struct Origin {
    std::int64_t file;
    bool changed;
    bool operator==(const Origin&) const = default;
};
using Origins = std::vector<Origin>;

Origins Unchanged(std::size_t size) {
    Origins origins(size);
    for (std::size_t i = 0; i < size; ++i) origins[i] = {static_cast<std::int64_t>(i), false};
    return origins;
}

class Model {
public:
    Model(OpenDocument& doc, Bytes expected, std::mt19937_64& random)
        : doc_(doc), bytes_(std::move(expected)), file_(doc.OnDisk()), random_(random) {}

    // One random edit applied to both; the verdicts must agree. Offsets run to size + 1 so that
    // refusals at and beyond the end are tried. Returns whether the bytes changed.
    bool RandomEdit(bool keepPositions) {
        EditableDocument& document = doc_.document;
        const std::uint64_t size = bytes_.size();
        const auto kind = Below(keepPositions ? 3 : 6);
        if (kind == 5) return RandomReplaceEach();
        std::uint64_t offset = Below(size + 2);
        if (keepPositions && kind != 0) offset = kind == 1 ? size : (size ? size - 1 : 0);  // append, truncate
        const bool single = keepPositions || Below(2);
        Bytes bytes = RandomBytes(random_, single ? 1 : 1 + Below(12));
        if (kind == 0 && offset < size && from_[offset].file >= 0 && Below(3) == 0)
            bytes[0] = file_[from_[offset].file];  // the file's own value written back
        const Bytes pattern = RandomBytes(random_, 1 + Below(4));
        if (kind >= 3) {  // a pattern of 1 to 4 bytes repeated over up to 40 bytes
            bytes.resize(Below(41));
            for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = pattern[i % pattern.size()];
        }
        const std::uint64_t count = bytes.size();
        const auto at = bytes_.begin() + static_cast<std::ptrdiff_t>(std::min(offset, size));
        const bool inserts = kind == 1 || kind == 3, fits = inserts ? offset <= size : offset + count <= size;
        const bool result =
            kind == 0   ? (single ? document.OverwriteByte(offset, bytes[0]) : document.OverwriteBytes(offset, bytes))
            : kind == 1 ? (single ? document.InsertByte(offset, bytes[0]) : document.InsertBytes(offset, bytes))
            : kind == 2 ? (single ? document.DeleteByte(offset) : document.DeleteBytes(offset, count))
            : kind == 3 ? document.InsertRepeated(offset, count, pattern)
                        : document.OverwriteRepeated(offset, count, pattern);
        EXPECT_EQ(result, fits) << "edit " << kind << " of " << count << " at " << offset << " in " << size;
        if (!fits) return false;
        const auto from = from_.begin() + (at - bytes_.begin());
        if (inserts) {
            bytes_.insert(at, bytes.begin(), bytes.end());
            from_.insert(from, count, Origin{-1, true});
        } else if (kind == 2) {
            bytes_.erase(at, at + static_cast<std::ptrdiff_t>(count));
            from_.erase(from, from + static_cast<std::ptrdiff_t>(count));
        } else {
            Overwrite(offset, bytes, kind == 4);
        }
        return count > 0;
    }

    // Equal ranges replaced by one run of bytes, at random spots; one range in eight
    // overlaps the one before it, and the edit must then be refused.
    bool RandomReplaceEach() {
        const std::uint64_t size = bytes_.size(), length = Below(5);
        const Bytes bytes = RandomBytes(random_, Below(6));
        std::vector<std::uint64_t> offsets;
        bool valid = true;
        for (std::uint64_t at = Below(size + 1); at + length <= size && offsets.size() < 8;) {
            if (!offsets.empty() && Below(8) == 0) {
                at = offsets.back() + (length ? Below(length) : 0);
                valid = false;
            }
            offsets.push_back(at);
            at += length + Below(20) + (length == 0);
        }
        EXPECT_EQ(doc_.document.ReplaceEach(offsets, length, bytes, {}), valid) << "replace " << offsets.size();
        if (!valid) return false;
        // The first bytes overwrite the range's start, the rest of the range goes, the rest of
        // the bytes is inserted.
        const std::size_t common = std::min<std::size_t>(length, bytes.size());
        for (auto offset = offsets.rbegin(); offset != offsets.rend(); ++offset) {
            Overwrite(*offset, Bytes(bytes.begin(), bytes.begin() + common), false);
            const auto at = static_cast<std::ptrdiff_t>(*offset + common);
            bytes_.erase(bytes_.begin() + at, bytes_.begin() + at + static_cast<std::ptrdiff_t>(length - common));
            from_.erase(from_.begin() + at, from_.begin() + at + static_cast<std::ptrdiff_t>(length - common));
            bytes_.insert(bytes_.begin() + at, bytes.begin() + common, bytes.end());
            from_.insert(from_.begin() + at, bytes.size() - common, Origin{-1, true});
        }
        return !offsets.empty() && (length > 0 || !bytes.empty());
    }

    // A random user action (an edit, a group of edits, an undo or a redo), then a random read
    // and a random changed-range query.
    void RandomStep(bool keepPositions) {
        const State before{bytes_, from_};
        const auto choice = Below(10);
        if (choice < 2) {
            const bool undo = choice == 0;
            auto& from = undo ? undo_ : redo_;
            auto& to = undo ? redo_ : undo_;
            ASSERT_EQ(undo ? doc_.document.CanUndo() : doc_.document.CanRedo(), !from.empty());
            const std::optional<EditRange> range = undo ? doc_.document.Undo() : doc_.document.Redo();
            ASSERT_EQ(range.has_value(), !from.empty()) << (undo ? "undo" : "redo");
            if (range) {
                to.push_back({bytes_, from_});
                std::tie(bytes_, from_) = from.back();
                from.pop_back();
                EXPECT_LE(range->offset + range->length, bytes_.size());
            }
        } else {
            bool changed = false;
            if (choice == 2 && !keepPositions) {
                EditGroup group(doc_.document);
                for (auto i = Below(5); i > 0; --i) changed = RandomEdit(false) || changed;
            } else {
                changed = RandomEdit(keepPositions);
            }
            if (changed) {
                undo_.push_back(before);
                redo_.clear();
            }
        }
        const std::uint64_t size = bytes_.size(), offset = Below(size + 2), count = Below(40);
        ASSERT_EQ(doc_.document.GetLogicalSize(), size);
        const ByteBlock block = doc_.document.ReadBytes(offset, count);
        ASSERT_EQ(block.offset, offset);
        ASSERT_EQ(block.bytes, test::Part(bytes_, offset, count)) << "read " << count << " at " << offset;
        const Origins range = test::Part(from_, offset, count);
        const auto changed = [](const Origin& origin) { return origin.changed; };
        ASSERT_EQ(doc_.document.IsChangedRange(offset, count), std::any_of(range.begin(), range.end(), changed))
            << count << " at " << offset;
        const auto fromFile = std::count_if(from_.begin(), from_.end(), [](const Origin& o) { return o.file >= 0; });
        ASSERT_EQ(doc_.document.IsModified(),
                  std::any_of(from_.begin(), from_.end(), changed) || fromFile != std::ssize(file_));
    }

    // Saves and compares the file, with at least the given number of progress reports; a save
    // that wrote something starts an empty history.
    void Save(std::size_t minimumReports = 0) {
        const bool writes = doc_.document.IsModified(), copies = !doc_.document.SavesInPlace();
        const std::size_t total = std::max<std::size_t>(bytes_.size(), 1);
        std::size_t last = 0, reports = 0;
        ASSERT_TRUE(doc_.document.Save([&](std::size_t done, std::size_t reported) {
            EXPECT_EQ(reported, total);
            EXPECT_LE(last, done);
            EXPECT_LE(done, total);
            last = done;
            ++reports;
        })) << platform::EncodeUtf8(doc_.document.LastErrorText());
        EXPECT_GE(reports, minimumReports);
        if (writes && copies) {
            EXPECT_EQ(last, total);
        }
        EXPECT_FALSE(doc_.document.IsModified());
        EXPECT_EQ(doc_.document.GetSize(), bytes_.size());
        EXPECT_EQ(doc_.OnDisk(), bytes_);
        EXPECT_EQ(doc_.ReadAll(), bytes_);
        EXPECT_EQ(doc_.document.GetPath(), doc_.path);
        EXPECT_EQ(doc_.dir.List(), std::vector<std::string>{"doc.bin"});  // no temporary file left
        if (!writes) return;
        file_ = bytes_;
        from_ = Unchanged(bytes_.size());
        undo_.clear();
        redo_.clear();
        EXPECT_FALSE(doc_.document.CanUndo());
    }

    void CheckAll() const { ASSERT_EQ(doc_.ReadAll(), bytes_); }

private:
    using State = std::pair<Bytes, Origins>;

    std::uint64_t Below(std::uint64_t n) { return random_() % n; }

    // A file byte overwritten with its own value is the file's again, unless the bytes are a
    // repeated pattern, which never reads the file; inserted bytes stay inserted.
    void Overwrite(std::uint64_t offset, const Bytes& bytes, bool repeated) {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            Origin& origin = from_[offset + i];
            bytes_[offset + i] = bytes[i];
            if (origin.file >= 0) origin.changed = repeated || file_[origin.file] != bytes[i];
        }
    }

    OpenDocument& doc_;
    Bytes bytes_, file_;
    Origins from_ = Unchanged(bytes_.size());
    std::mt19937_64& random_;
    std::vector<State> undo_, redo_;
};

// Some sequences keep every byte at its place, so the in-place writer is used; two in five are
// saved (each save flushes to disk, which is slow); one is a long edit session.
TEST(EditLayerModel, RandomEditSequencesMatchAByteVectorAndSaveExactly) {
    std::mt19937_64 random(20261206);
    for (int sequence = 0; sequence < 2000; ++sequence) {
        SCOPED_TRACE("sequence " + std::to_string(sequence));
        const bool keepPositions = sequence % 3 == 0, session = sequence == 1;
        const Bytes contents = RandomBytes(random, session ? 700 : random() % 48);
        OpenDocument doc(contents);
        Model model(doc, contents, random);
        for (int i = session ? 20000 : static_cast<int>(random() % 40); i > 0; --i) {
            ASSERT_NO_FATAL_FAILURE(model.RandomStep(keepPositions)) << i << " edits to go";
            if (i % 2500 == 0) {
                ASSERT_NO_FATAL_FAILURE(model.CheckAll());
            }
        }
        ASSERT_NO_FATAL_FAILURE(model.CheckAll());
        EXPECT_TRUE(!keepPositions || doc.document.SavesInPlace());
        if (sequence % 5 < 2) {
            ASSERT_NO_FATAL_FAILURE(model.Save());
            ASSERT_NO_FATAL_FAILURE(model.RandomStep(false));
            ASSERT_NO_FATAL_FAILURE(model.CheckAll());
        }
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
    Model model(doc, expected, random);
    ASSERT_NO_FATAL_FAILURE(model.Save(4));
}

TEST(EditLayer, CloseDropsEditsAndTheFileAndNothingCanBeEditedWithout) {
    OpenDocument doc({1, 2});
    ASSERT_TRUE(doc.document.InsertByte(0, 1));
    doc.document.Close();
    EXPECT_FALSE(doc.document.IsOpen());
    EXPECT_FALSE(doc.document.IsModified());
    EXPECT_EQ(doc.document.GetSize(), 0u);
    EXPECT_FALSE(doc.document.OverwriteByte(0, 1));
    EXPECT_FALSE(doc.document.InsertByte(0, 1));
    EXPECT_FALSE(doc.document.DeleteByte(0));
    EXPECT_TRUE(doc.document.ReadBytes(0, 1).bytes.empty());
    ASSERT_TRUE(doc.document.File().Open(doc.path));
    EXPECT_EQ(doc.ReadAll(), Bytes({1, 2}));
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

}  // namespace
}  // namespace tvx
