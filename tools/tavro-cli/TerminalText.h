#pragma once
// Text on its way to a terminal (or to a file read by one): whatever could move the cursor,
// retitle or clear the screen, or hide or reorder what is shown is written as an escape.

#include <iosfwd>
#include <string>
#include <string_view>

namespace tvx::cli {

// UTF-8 with escapes: C0 and C1 controls, DEL and undecodable bytes (the lone surrogates
// U+DC80..U+DCFF that stand for them) as \xNN; other lone surrogates, the format characters
// (bidirectional marks, overrides and isolates, zero-width characters, the byte order mark,
// tags) and the line and paragraph separators as \u{NNNN}. A backslash stays as it is.
void AppendTerminalText(std::string& out, std::u16string_view text);
[[nodiscard]] std::string TerminalText(std::u16string_view text);

// Collects a command's output in one large buffer and writes it out in large pieces.
class TerminalWriter {
public:
    explicit TerminalWriter(std::ostream& out);
    ~TerminalWriter();
    TerminalWriter(const TerminalWriter&) = delete;
    TerminalWriter& operator=(const TerminalWriter&) = delete;

    // Bytes known to be safe: digits, separators, fixed words.
    void Raw(std::string_view ascii);
    void Raw(char c);
    // Text that comes from a file or an argument, escaped.
    void Text(std::u16string_view text);
    // The buffer itself, for formatting in place; call Spill() afterwards.
    [[nodiscard]] std::string& Buffer() { return buffer_; }
    void Spill();
    void Flush();

private:
    static constexpr std::size_t kCapacity = 1 << 20;
    std::ostream& out_;
    std::string buffer_;
};

}  // namespace tvx::cli
