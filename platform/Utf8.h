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

// Flags 0: a lone surrogate becomes U+FFFD.
[[nodiscard]] std::string EncodeUtf8(std::u16string_view text);

}  // namespace tvx::platform
