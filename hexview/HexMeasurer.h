#pragma once
// Text measurement in the hex view's font, the only input the view's geometry takes from
// the text stack (DirectWrite on Windows).

#include <optional>
#include <string>

namespace tvx {

struct HexFont {
    std::u16string family = u"Consolas";
    bool bold = false;
    bool italic = false;
};

class IHexMeasurer {
public:
    virtual ~IHexMeasurer() = default;
    // Makes a fresh text format for the font at size DIPs. False when there is no text
    // stack at all; a text format that cannot be made only lets the measures below fail.
    [[nodiscard]] virtual bool Prepare(const HexFont& font, float size) = 0;
    // The mean height of the lines of a four-line text; empty on failure.
    [[nodiscard]] virtual std::optional<float> LineHeight() = 0;
    // The advance of one character laid out alone, trailing whitespace included.
    [[nodiscard]] virtual std::optional<float> Advance(char16_t character) = 0;
};

}  // namespace tvx
