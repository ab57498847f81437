// libFuzzer target: the hex view's rows over the bytes as a document. The first byte moves the
// row starts off the 16-byte grid (so rows begin inside characters); every row is built in every
// encoding. Each row has one hexadecimal and one text cell per byte, a character shows only in
// the cell of a byte that can begin it, and printable ASCII always shows as itself.

#include "hexview/RowCells.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/search/MemoryDocument.h"

#include <array>

void tvx::fuzz::TestOneInput(Input input) {
    constexpr std::size_t kRowBytes = 16;
    const std::uint64_t shift = input.Below(kRowBytes);
    const std::string_view rest = input.Rest();
    const test::MemoryDocument document(std::vector<std::uint8_t>(rest.begin(), rest.end()));
    for (int value = 0; value <= 4; ++value) {  // 4 lies outside the enumeration
        const auto encoding = static_cast<TextEncoding>(value);
        for (std::uint64_t offset = shift; offset < document.GetSize(); offset += kRowBytes) {
            const std::vector<std::uint8_t> bytes = document.ReadBytes(offset, kRowBytes).bytes;
            const RowCells row = BuildRowCells(&document, offset, bytes, encoding);
            Require(row.offsetText.ends_with(u':'));
            Require(row.hexCells.size() == bytes.size() && row.textCells.size() == bytes.size());
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                const std::uint8_t b = bytes[i];
                const std::u16string& cell = row.textCells[i];
                const bool printable = b >= 0x20 && b <= 0x7E;
                Require(row.hexCells[i] + u' ' == HexText(std::array{b}));
                if (encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be)
                    Require(i % 2 == 0 ? cell.size() == 1 : cell.empty());
                else if (encoding == TextEncoding::Utf8)  // a continuation byte shows nothing or "."
                    Require((!printable || cell.starts_with(b)) &&
                            (cell.empty() || cell == u"." || (b & 0xC0) != 0x80));
                else
                    Require(cell == (printable ? std::u16string(1, b) : u"."));
            }
        }
    }
}
