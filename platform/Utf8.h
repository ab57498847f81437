#pragma once
// UTF-8 <-> UTF-16 conversion (MultiByteToWideChar / WideCharToMultiByte with CP_UTF8).

#include <string>
#include <string_view>

namespace tvx::platform {

// MB_ERR_INVALID_CHARS: false for ill-formed input (stray continuation bytes, truncated
// sequences, overlong forms, encoded surrogates, values above U+10FFFF); out is then empty.
[[nodiscard]] bool DecodeUtf8Strict(std::string_view utf8, std::u16string& out);

// Flags 0: each ill-formed sequence becomes U+FFFD.
[[nodiscard]] std::u16string DecodeUtf8(std::string_view utf8);

// Flags 0: a lone surrogate becomes U+FFFD, so the result is always well-formed.
[[nodiscard]] std::string EncodeUtf8(std::u16string_view text);

// File names and arguments outside Windows are byte strings: each byte of an ill-formed
// sequence becomes the lone surrogate U+DC80..U+DCFF, so that EncodeUtf8 gives the bytes back
// unchanged. On Windows (where names are UTF-16 already) the same as DecodeUtf8.
[[nodiscard]] std::u16string DecodeUtf8Bytes(std::string_view bytes);

// The way back for DecodeUtf8Bytes: as EncodeUtf8, except that elsewhere than Windows a lone
// U+DC80..U+DCFF becomes the byte 0x80..0xFF. For names handed to the system only.
[[nodiscard]] std::string EncodeUtf8Bytes(std::u16string_view text);

}  // namespace tvx::platform
