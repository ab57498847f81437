#include "structpattern/PatternLoader.h"

#include "platform/FileContents.h"
#include "platform/Utf8.h"
#include "structpattern/NumberText.h"
#include "structpattern/ParseState.h"
#include "structpattern/PatternLexer.h"
#include "structpattern/PatternParser.h"
#include "structpattern/StructResolver.h"
#include "structpattern/TypeNames.h"

namespace tvx {
namespace {

bool Fail(std::u16string& error, const std::u16string& message) {
    error = message;
    return false;
}

// Sizes the name tables for the declarations the tokens announce, sparing their rehashing.
void ReserveNameTables(ParseState& state) {
    std::size_t structs = 0;
    std::size_t typedefs = 0;
    for (const PatternToken& token : state.tokens) {
        if (token.kind != PatternTokenKind::Identifier) continue;
        structs += IdentifierEquals(token.text, u"struct");
        typedefs += IdentifierEquals(token.text, u"typedef");
    }
    state.structNames.reserve(2 * structs);  // each name with and without "struct"
    state.typedefs.reserve(typedefs);
}

// The entry struct: the one "@entry" names, or the only struct.
bool ChooseEntry(const ParseState& state, StructPatternFile& file, std::u16string& error) {
    if (!state.entryGiven) {
        if (file.structs.size() != 1) return Fail(error, u"@entry is required when multiple structs are defined.");
        file.entryName = file.structs.front().name;
        file.entryImplicit = true;
        return true;
    }
    const auto found = state.structNames.find(NormalizeTypeName(state.entryName));
    if (found == state.structNames.end()) return Fail(error, u"@entry refers to an undefined struct.");
    file.entryName = file.structs[found->second].name;
    file.entryImplicit = false;
    return true;
}

}  // namespace

bool LoadStructPatternFile(const std::u16string& path, StructPatternFile& file, std::u16string& error) {
    std::string bytes;
    // A directory opens on some systems but cannot be read: that is no definition file either.
    if (!platform::ReadFileContents(path, kMaxPatternFileBytes + 1, bytes))
        return Fail(error, u"Failed to open definition file.");
    return LoadStructPatternBytes(bytes, file, error);
}

bool LoadStructPatternBytes(std::string_view bytes, StructPatternFile& file, std::u16string& error) {
    if (bytes.size() > kMaxPatternFileBytes) return Fail(error, u"Definition file is too large.");
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    ParseState state;
    if (!bytes.empty() && !platform::DecodeUtf8Strict(bytes, state.source))
        return Fail(error, u"Definition file must be UTF-8.");

    std::u16string lexError;
    state.tokens = TokenizePattern(state.source, lexError);
    if (state.tokens.empty()) return Fail(error, lexError);
    ReserveNameTables(state);
    while (state.tokens[state.cursor].kind != PatternTokenKind::End) {
        if (!ParseTopLevel(state)) return Fail(error, state.error);
    }
    if (state.structs.empty()) return Fail(error, u"No struct definition was found.");
    if (!ResolveStructs(state, file, error)) return false;
    return ChooseEntry(state, file, error);
}

std::u16string FormatPatternSummary(const StructPatternFile& file) {
    std::u16string text = u"entry = " + file.entryName;
    if (file.entryImplicit) text += u" (implicit)";
    const std::pair<const char16_t*, std::uint64_t> values[] = {
        {u"sizeof_short", file.sizeof_short},         {u"sizeof_int", file.sizeof_int},
        {u"sizeof_long", file.sizeof_long},           {u"sizeof_long_long", file.sizeof_long_long},
        {u"sizeof_float", file.sizeof_float},         {u"sizeof_double", file.sizeof_double},
        {u"pointer_size", file.pointer_size},         {u"member_align", file.member_align},
    };
    for (const auto& [name, value] : values) text += u"\r\n" + std::u16string(name) + u" = " + DecimalText(value);
    return text;
}

}  // namespace tvx
