#pragma once
// What the libFuzzer targets share: failing a check, reading the input piece by piece (also as
// text), text of bytes and bytes of text, and a scratch folder for targets that go through files.

#include "platform/Utf8.h"
#include "settings/Enums.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace tvx::fuzz {

// A property that does not hold is a finding: abort, so that libFuzzer keeps the input.
inline void Require(bool condition) {
    if (!condition) std::abort();
}

// UTF-16 units in either byte order, unpaired surrogates included; a last odd byte is dropped.
template <class Bytes>
std::u16string AsUnits(const Bytes& bytes, bool littleEndian = true) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<std::uint8_t>(bytes[i]), second = static_cast<std::uint8_t>(bytes[i + 1]);
        text += static_cast<char16_t>(littleEndian ? first | second << 8 : second | first << 8);
    }
    return text;
}

// The fuzzer's bytes, consumed from the front; a byte past their end reads as 0.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

    [[nodiscard]] bool Empty() const { return rest_.empty(); }
    std::uint8_t Byte() {
        if (rest_.empty()) return 0;
        const auto byte = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return byte;
    }
    // A value below n from as many bytes as n needs.
    std::uint64_t Below(std::uint64_t n) {
        std::uint64_t value = 0;
        for (std::uint64_t range = 1; range < n && !Empty(); range <<= 8) value = value << 8 | Byte();
        return value % n;
    }
    // The bytes up to the next NUL (dropped) or the end.
    std::string_view UntilNul() {
        const std::size_t nul = rest_.find('\0');
        const std::string_view part = rest_.substr(0, nul);
        rest_.remove_prefix(nul == std::string_view::npos ? rest_.size() : nul + 1);
        return part;
    }
    std::string_view Rest() { return std::exchange(rest_, {}); }
    // Typed or pasted text: the first byte chooses whether the rest is decoded as UTF-8 or taken
    // as raw units.
    std::u16string Text() {
        const bool rawUnits = (Byte() & 1) != 0;
        const std::string_view rest = Rest();
        return rawUnits ? AsUnits(rest) : platform::DecodeUtf8(rest);
    }

private:
    std::string_view rest_;
};

// Each byte as two hexadecimal digits and a space.
template <class Bytes>
std::u16string HexText(const Bytes& bytes, const char16_t (&digits)[17] = u"0123456789ABCDEF") {
    std::u16string text;
    for (const std::uint8_t b : bytes) text += {digits[b >> 4], digits[b & 15], u' '};
    return text;
}

// The text that bytes in the encoding stand for (UTF-8 must be well-formed); an encoding outside
// the enumeration reads as ASCII.
inline std::u16string Decoded(const std::vector<std::uint8_t>& bytes, TextEncoding encoding) {
    const std::string raw(bytes.begin(), bytes.end());
    std::u16string text;
    switch (encoding) {
    case TextEncoding::Utf8: Require(platform::DecodeUtf8Strict(raw, text) || raw.empty()); return text;
    case TextEncoding::Utf16Le: return AsUnits(raw);
    case TextEncoding::Utf16Be: return AsUnits(raw, false);
    default: return {raw.begin(), raw.end()};
    }
}

// The text with each unpaired surrogate replaced by U+FFFD, as encoding it in UTF-8 leaves it.
inline std::u16string LoneSurrogatesReplaced(std::u16string text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] < 0xD800 || text[i] > 0xDFFF) continue;
        if (text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
        else text[i] = 0xFFFD;
    }
    return text;
}

// A folder of this process's own under the temporary folder (TMPDIR), removed at exit.
inline const std::filesystem::path& ScratchFolder() {
    static const struct Folder {
        std::filesystem::path path;
        Folder() {
            std::string pattern = (std::filesystem::temp_directory_path() / "tvx-fuzz-XXXXXX").string();
            Require(::mkdtemp(pattern.data()) != nullptr);
            path = pattern;
        }
        ~Folder() {
            std::error_code error;
            std::filesystem::remove_all(path, error);
        }
    } folder;
    return folder.path;
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    Require(file.good());
}

}  // namespace tvx::fuzz
