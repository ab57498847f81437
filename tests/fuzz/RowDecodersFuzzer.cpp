// libFuzzer target: the hex view's rows over the bytes as a document. The first byte moves the
// row starts off the 16-byte grid (so rows begin inside characters); every row is built in every
// encoding. Each row has one hexadecimal and one text cell per byte, a character shows only in
// the cell of a byte that can begin it, and printable ASCII always shows as itself.

#include "hexview/RowCells.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/search/MemoryDocument.h"

namespace {

using tvx::fuzz::Require;

constexpr std::size_t kRowBytes = 16;

bool IsPrintableAscii(std::uint8_t b) { return b >= 0x20 && b <= 0x7E; }

void CheckCells(const tvx::RowCells& row, std::span<const std::uint8_t> bytes, tvx::TextEncoding encoding) {
    constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    Require(row.hexCells.size() == bytes.size() && row.textCells.size() == bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::uint8_t b = bytes[i];
        const std::u16string& cell = row.textCells[i];
        Require(row.hexCells[i] == std::u16string{kDigits[b >> 4], kDigits[b & 15]});
        switch (encoding) {
        case tvx::TextEncoding::Utf8:
            if (IsPrintableAscii(b)) Require(!cell.empty() && cell[0] == b);
            if (!cell.empty() && cell != u".") Require((b & 0xC0) != 0x80);
            break;
        case tvx::TextEncoding::Utf16Le:
        case tvx::TextEncoding::Utf16Be: Require(i % 2 == 0 ? cell.size() == 1 : cell.empty()); break;
        default: Require(cell == (IsPrintableAscii(b) ? std::u16string(1, b) : u".")); break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tvx::fuzz::Input input(data, size);
    const std::size_t shift = input.Byte() % kRowBytes;
    const std::string_view rest = input.Rest();
    const tvx::test::MemoryDocument document(std::vector<std::uint8_t>(rest.begin(), rest.end()));
    for (int encoding = 0; encoding <= 4; ++encoding) {  // 4 lies outside the enumeration
        for (std::uint64_t offset = shift; offset < document.GetSize(); offset += kRowBytes) {
            const tvx::ByteBlock block = document.ReadBytes(offset, kRowBytes);
            const tvx::RowCells row =
                tvx::BuildRowCells(&document, offset, block.bytes, static_cast<tvx::TextEncoding>(encoding));
            Require(row.offsetText.ends_with(u':'));
            CheckCells(row, block.bytes, static_cast<tvx::TextEncoding>(encoding));
        }
    }
    return 0;
}
