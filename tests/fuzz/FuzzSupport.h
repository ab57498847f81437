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

// The fuzzer's bytes, consumed from the front.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

    [[nodiscard]] bool Empty() const { return rest_.empty(); }
    // A value below n from as many bytes as n needs; 0 once the input is used up.
    std::uint64_t Below(std::uint64_t n) {
        std::uint64_t value = 0;
        for (std::uint64_t range = 1; range < n && !rest_.empty(); range <<= 8) {
            value = value << 8 | static_cast<std::uint8_t>(rest_.front());
            rest_.remove_prefix(1);
        }
        return value % n;
    }
    // The bytes up to the next NUL (dropped) or the end.
    std::string_view UntilNul() {
        const std::string_view part = rest_.substr(0, rest_.find('\0'));
        rest_.remove_prefix(part.size() < rest_.size() ? part.size() + 1 : part.size());
        return part;
    }
    std::string_view Rest() { return std::exchange(rest_, {}); }
    // Typed or pasted text: after a byte choosing how, the rest decoded as UTF-8 or as raw units.
    std::u16string Text() { return Below(2) == 1 ? AsUnits(Rest()) : platform::DecodeUtf8(Rest()); }

private:
    std::string_view rest_;
};

// The target's check of one input; a property that does not hold aborts (see Require).
void TestOneInput(Input input);

// Each byte as two hexadecimal digits and a space.
template <class Bytes>
std::u16string HexText(const Bytes& bytes, const char16_t (&digits)[17] = u"0123456789ABCDEF") {
    std::u16string text;
    for (const std::uint8_t b : bytes) text += {digits[b >> 4], digits[b & 15], u' '};
    return text;
}

// The text that bytes in the encoding stand for (UTF-8 must be well-formed; others read as ASCII).
inline std::u16string Decoded(const std::vector<std::uint8_t>& bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be)
        return AsUnits(bytes, encoding == TextEncoding::Utf16Le);
    if (encoding != TextEncoding::Utf8) return {bytes.begin(), bytes.end()};
    std::u16string text;
    Require(platform::DecodeUtf8Strict(std::string(bytes.begin(), bytes.end()), text) || bytes.empty());
    return text;
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
inline std::filesystem::path ScratchFolder() {
    static const struct Folder {
        std::string path = (std::filesystem::temp_directory_path() / "tvx-fuzz-XXXXXX").string();
        Folder() { Require(::mkdtemp(path.data()) != nullptr); }
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
