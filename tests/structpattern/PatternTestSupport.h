#pragma once
// Helpers shared by the struct pattern tests.

#include "structpattern/ParseState.h"
#include "structpattern/StructPatternFile.h"
#include "structpattern/StructValueFormat.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tvx::test {

using Bytes = std::vector<std::uint8_t>;

// UTF-8 for readable assertion messages.
std::string Narrow(const std::u16string& text);

// The error text of loading the UTF-8 pattern source; empty when it loads.
std::string LoadError(std::string_view source);
// Loads the source, adding a test failure (with the error) when it does not load.
std::shared_ptr<const StructPatternFile> LoadOk(std::string_view source);

// The expected text of an error at (line, column) of a one-line source: the head, the source
// line and a caret under the column.
std::string ErrorAt(std::string_view sourceLine, unsigned line, unsigned column, std::string_view message);

// A parse state over the tokens of source, as a load creates it.
ParseState StateFor(std::string_view source);

// The layout named name; adds a failure and returns an empty layout when there is none.
const StructLayout& LayoutNamed(const StructPatternFile& file, std::string_view name);

// Rows of the entry struct of file over data at baseOffset, as narrow (name, offset, value,
// size) tuples joined by " | " for compact comparisons.
std::vector<std::string> RowTexts(const std::shared_ptr<const StructPatternFile>& file,
                                  const std::vector<std::uint8_t>& data, StructValueFormat format = {},
                                  std::uint64_t baseOffset = 0);

// The value text of the first row named name (exact), or "<no row>".
std::string ValueOf(const std::vector<StructViewRow>& rows, std::string_view name);

}  // namespace tvx::test
