#include "document/SaveRange.h"
#include "platform/Utf8.h"
#include "tests/document/OpenDocument.h"

namespace tvx {
namespace {

using test::Bytes;
using test::OpenDocument;

std::size_t FilesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// The edited bytes of the range replace the target; every failure leaves the folder as it was.
TEST(SaveRange, WritesTheEditedRangeOrNothing) {
    OpenDocument doc({1, 2, 3, 4, 5});
    ASSERT_TRUE(doc.document.InsertRepeated(2, (3 << 20) + 1, Bytes{9, 8}));
    const std::u16string target = doc.dir.File("part.bin");
    test::WriteFileBytes(target, {7});
    std::u16string error;
    std::size_t lastDone = 0;
    ASSERT_TRUE(SaveRange(doc.document, 1, (3 << 20) + 3, target,
                          [&](std::size_t done, std::size_t) { lastDone = done; }, error))
        << platform::EncodeUtf8(error);
    const Bytes saved = test::ReadFileBytes(target);
    EXPECT_EQ(saved, doc.document.ReadBytes(1, (3 << 20) + 3).bytes);
    EXPECT_EQ(lastDone, saved.size());
    EXPECT_EQ(FilesIn(doc.dir.Path()), 2u);  // the document's file and the target, no temporary file

    for (const std::u16string& refused : {doc.path, doc.dir.File("missing/part.bin")}) {
        EXPECT_FALSE(SaveRange(doc.document, 0, 3, refused, {}, error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(FilesIn(doc.dir.Path()), 2u);
    }
    EXPECT_EQ(doc.OnDisk(), (Bytes{1, 2, 3, 4, 5}));
}

}  // namespace
}  // namespace tvx
