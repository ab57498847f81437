#pragma once

// UTF-16 text at the wide-character Windows API, where wchar_t is 16 bits.

#include <cstddef>
#include <string>

namespace tvx {

inline const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

inline std::u16string FromWide(const wchar_t* text, std::size_t length) {
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

}  // namespace tvx
