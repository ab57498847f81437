#include "inspector/CharacterText.h"

#include "platform/TextUnicode.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

namespace tvx {
namespace {

// The plausibility test looks at no more than this many bytes, so that text further on does
// not vouch for the bytes at the caret.
constexpr std::size_t kUtf16SampleBytes = 32;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

std::size_t Utf8SequenceLength(std::uint8_t lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

std::u16string_view CharacterName(char32_t cp) {
    switch (cp) {
    case 0x0D: return u"CR";
    case 0x09: return u"TAB";
    case 0x0A: return u"LF";
    case 0x0B: return u"VT";
    case 0x0C: return u"FF";
    case 0x20: return u"Space";
    case 0x85: return u"NEL";
    case 0xA0: return u"NBSP";
    case 0x3000: return u"Ideographic Space";
    default: return {};
    }
}

}  // namespace

std::optional<std::u16string> DecodeUtf8Character(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes[0] == 0) return std::nullopt;
    const std::size_t length = Utf8SequenceLength(bytes[0]);
    if (length == 0 || bytes.size() < length) return std::nullopt;
    // A zero byte is no continuation byte either.
    if (!std::all_of(bytes.begin() + 1, bytes.begin() + length, [](std::uint8_t b) { return (b & 0xC0) == 0x80; }))
        return std::nullopt;
    std::u16string text;
    const std::string_view sequence(reinterpret_cast<const char*>(bytes.data()), length);
    if (!platform::DecodeUtf8Strict(sequence, text)) return std::nullopt;
    return text;
}

std::optional<std::u16string> DecodeUtf16Character(std::span<const std::uint8_t> bytes, bool littleEndian) {
    if (bytes.size() < 2) return std::nullopt;
    // The test reads little-endian units: big-endian bytes are swapped pair by pair first.
    std::array<std::uint8_t, kUtf16SampleBytes> sample{};
    const std::size_t count = std::min(bytes.size(), sample.size());
    std::copy_n(bytes.begin(), count, sample.begin());
    if (!littleEndian)
        for (std::size_t i = 0; i + 1 < count; i += 2) std::swap(sample[i], sample[i + 1]);
    if (!platform::IsPlausibleUtf16Text(std::span(sample.data(), count))) return std::nullopt;

    const auto unit = [&](std::size_t index) {
        return static_cast<char16_t>(sample[2 * index] | sample[2 * index + 1] << 8);
    };
    const char16_t first = unit(0);
    if (first == 0 || IsLowSurrogate(first)) return std::nullopt;
    if (!IsHighSurrogate(first)) return std::u16string(1, first);
    if (count < 4 || !IsLowSurrogate(unit(1))) return std::nullopt;
    return std::u16string{first, unit(1)};
}

std::u16string DescribeCharacter(std::u16string_view text) {
    if (text.empty() || IsLowSurrogate(text[0])) return std::u16string(text);
    char32_t cp = text[0];
    if (IsHighSurrogate(text[0])) {
        if (text.size() < 2 || !IsLowSurrogate(text[1])) return std::u16string(text);
        cp = 0x10000 + ((cp - 0xD800) << 10) + (text[1] - 0xDC00);
    }
    const std::u16string_view name = CharacterName(cp);
    std::u16string description(name.empty() ? text : name);
    char code[16];
    std::snprintf(code, sizeof code, " (U+%04lX)", static_cast<unsigned long>(cp));
    description.append(code, code + std::char_traits<char>::length(code));
    return description;
}

}  // namespace tvx
