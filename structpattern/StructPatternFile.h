#pragma once
// A loaded struct pattern file: every struct laid out, ready to be evaluated over bytes.
// Built once by LoadStructPatternFile and never changed afterwards, so any number of threads
// may read one shared instance without locks.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tvx {

// How a field's value is decoded.
enum class FieldKind : std::uint32_t { Integer = 0, Float = 1, Double = 2, Bytes = 3 };

struct ResolvedType {
    std::uint64_t size = 0;       // bytes of one element
    std::uint64_t alignment = 1;  // never 0
    FieldKind kind = FieldKind::Integer;
    std::u16string structName;    // display name of an embedded struct, else empty
    std::size_t structIndex = 0;  // its position in StructPatternFile::structs
};

struct ResolvedStructInfo {
    std::uint64_t size = 0;
    std::uint64_t alignment = 1;
};

// A member or a padding run. Offsets are relative to the start of the struct.
struct FieldLayout {
    std::u16string name;            // "<padding>" for a padding run
    std::u16string typeText;        // as written ("padding" for a padding run)
    std::u16string normalizedType;  // "padding" for a padding run
    std::u16string structName;      // display name of an embedded struct, else empty
    FieldKind kind = FieldKind::Integer;
    std::uint64_t offset = 0;
    std::uint64_t elementSize = 0;  // 1 for padding
    std::uint64_t size = 0;         // count * elementSize; 0 for a flexible array
    std::uint64_t count = 1;        // 0 for a flexible array; the byte count for padding
    bool flexible = false;
    bool padding = false;
    std::size_t structIndex = 0;    // with structName: the embedded struct's position in structs
};

struct StructLayout {
    std::u16string name;  // alias, else tag, else "<anonymous>"
    std::vector<FieldLayout> fields;  // tile the struct from offset 0 to size
    std::uint64_t size = 0;
    std::uint64_t alignment = 1;
};

struct StructPatternFile {
    std::uint64_t sizeof_short = 2;
    std::uint64_t sizeof_int = 4;
    std::uint64_t sizeof_long = 8;
    std::uint64_t sizeof_long_long = 8;
    std::uint64_t sizeof_float = 4;
    std::uint64_t sizeof_double = 8;
    std::uint64_t pointer_size = 8;
    std::uint64_t member_align = 8;
    std::u16string entryName;    // display name of the entry struct
    bool entryImplicit = false;  // chosen because the file defines exactly one struct
    std::vector<StructLayout> structs;  // declaration order
};

}  // namespace tvx
