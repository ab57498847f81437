#pragma once
// Choices shared by the hex view, the menus, the settings record and the string table.
// Values are stored as these numbers; a number outside an enumeration's range can reach
// the program through a cast and is then handled as each user documents (the hex view
// draws it as Ascii and Light).

#include <cstdint>

namespace tvx {

enum class TextEncoding : std::int32_t { Ascii = 0, Utf8 = 1, Utf16Le = 2, Utf16Be = 3 };

enum class Theme : std::int32_t { Light = 0, DarkBlue = 1, Black = 2 };

// System follows the user's locale at every lookup; the others fix the interface language.
enum class Language : std::int32_t { System = 0, English = 1, Japanese = 2 };

// How the Struct View shows its values: stored with the settings, offered by the menus,
// applied by the struct value formatter.
enum class ByteArrayFormat : std::uint32_t { Hex = 0, Ascii = 1 };
enum class ByteOrder : std::uint32_t { Little = 0, Big = 1 };
enum class NumericBase : std::uint32_t { Hex = 0, Dec = 1 };

}  // namespace tvx
