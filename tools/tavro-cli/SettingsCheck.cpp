#include "tools/tavro-cli/SettingsCheck.h"

#include "platform/Utf8.h"
#include "settings/JsonScan.h"
#include "settings/SettingsNames.h"
#include "tools/tavro-cli/TerminalText.h"

#include <cctype>
#include <cstring>

namespace tvx::cli {
namespace {

// A JSON grammar check without recursion: the open brackets are kept in a string. Returns
// the offset of the first byte that does not fit, or npos for a valid text.
class JsonChecker {
public:
    explicit JsonChecker(std::string_view text) : text_(text) {}

    std::size_t FirstError() {
        SkipSpace();
        if (!Value()) return pos_;
        for (;;) {
            SkipSpace();
            if (open_.empty()) return pos_ == text_.size() ? std::string_view::npos : pos_;
            const char close = open_.back() == '{' ? '}' : ']';
            if (Peek(close)) {
                ++pos_;
                open_.pop_back();
                continue;
            }
            if (!Peek(',')) return pos_;
            ++pos_;
            SkipSpace();
            if (!(open_.back() == '{' ? Member() : Value())) return pos_;
        }
    }

private:
    bool Peek(char c) const { return pos_ < text_.size() && text_[pos_] == c; }
    void SkipSpace() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r' || text_[pos_] == '\n'))
            ++pos_;
    }
    bool Literal(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }
    bool String() {
        if (!Peek('"')) return false;
        for (++pos_; pos_ < text_.size(); ++pos_) {
            const auto c = static_cast<unsigned char>(text_[pos_]);
            if (c == '"') {
                ++pos_;
                return true;
            }
            if (c < 0x20) return false;
            if (c == '\\') {
                if (++pos_ >= text_.size() || text_[pos_] == 0 || std::strchr("\"\\/bfnrtu", text_[pos_]) == nullptr)
                    return false;
                if (text_[pos_] == 'u') {
                    for (int i = 0; i < 4; ++i)
                        if (++pos_ >= text_.size() || !std::isxdigit(static_cast<unsigned char>(text_[pos_]))) return false;
                }
            }
        }
        return false;
    }
    bool Digits() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
        return pos_ > start;
    }
    bool Number() {
        if (Peek('-')) ++pos_;
        if (Peek('0')) ++pos_;
        else if (!Digits()) return false;
        if (Peek('.') && (++pos_, !Digits())) return false;
        if (Peek('e') || Peek('E')) {
            ++pos_;
            if (Peek('+') || Peek('-')) ++pos_;
            if (!Digits()) return false;
        }
        return true;
    }
    // A value; an opening bracket is pushed and its first element (if any) read.
    bool Value() {
        if (Peek('{') || Peek('[')) {
            const char bracket = text_[pos_++];
            SkipSpace();
            if (Peek(bracket == '{' ? '}' : ']')) {
                ++pos_;
                return true;
            }
            open_ += bracket;
            return bracket == '{' ? Member() : Value();
        }
        if (Peek('"')) return String();
        if (Peek('t')) return Literal("true");
        if (Peek('f')) return Literal("false");
        if (Peek('n')) return Literal("null");
        return Number();
    }
    bool Member() {
        if (!String()) return false;
        SkipSpace();
        if (!Peek(':')) return false;
        ++pos_;
        SkipSpace();
        return Value();
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::string open_;
};

// A word the reader compares against its list of names; a word not on it keeps the default.
template <typename FromName, typename ToName>
void CheckName(std::string_view text, std::string_view key, std::size_t from, bool skipsEmpty, FromName fromName,
               ToName toName, std::vector<std::string>& problems) {
    const auto value = ReadStringValue(text, key, from);
    if (!value || (skipsEmpty && value->empty()) || toName(fromName(*value)) == *value) return;
    problems.push_back(std::string(key) + ": \"" + TerminalText(platform::DecodeUtf8(*value)) +
                       "\" is not a known value; the default " + std::string(toName(fromName(*value))) + " is used");
}

}  // namespace

SettingsCheck CheckSettingsText(std::string_view text) {
    SettingsCheck check;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    if (const std::size_t error = JsonChecker(text).FirstError(); error != std::string_view::npos) {
        check.validJson = false;
        check.problems.push_back("the file is not valid JSON (at byte " + std::to_string(error) +
                                 "); values not found keep their defaults");
    }
    CheckName(text, "encoding", 0, true, EncodingFromName, EncodingName, check.problems);
    CheckName(text, "theme", 0, true, ThemeFromName, ThemeName, check.problems);
    CheckName(text, "language", 0, true, LanguageFromName, LanguageName, check.problems);
    if (const auto analysis = FindObjectStart(text, "analysis", 0)) {
        if (const auto structView = FindObjectStart(text, "structView", *analysis)) {
            CheckName(text, "byteArrayFormat", *structView, false, ByteArrayFormatFromName, ByteArrayFormatName,
                      check.problems);
            CheckName(text, "endian", *structView, false, ByteOrderFromName, ByteOrderName, check.problems);
            CheckName(text, "numericBase", *structView, false, NumericBaseFromName, NumericBaseName, check.problems);
        }
    }
    return check;
}

}  // namespace tvx::cli
