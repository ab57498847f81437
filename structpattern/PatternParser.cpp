#include "structpattern/PatternParser.h"

#include "structpattern/Declaration.h"
#include "structpattern/NumberText.h"
#include "structpattern/PatternError.h"
#include "structpattern/TypeNames.h"

#include <span>

namespace tvx {
namespace {

const PatternToken& Current(const ParseState& state) { return state.tokens[state.cursor]; }

void Advance(ParseState& state) {
    if (state.cursor + 1 < state.tokens.size()) ++state.cursor;
}

bool IsEnd(const ParseState& state) { return Current(state).kind == PatternTokenKind::End; }

bool IsPunct(const ParseState& state, char16_t c) {
    const PatternToken& token = Current(state);
    return token.kind == PatternTokenKind::Punctuation && token.text.size() == 1 && token.text[0] == c;
}

bool IsIdentifier(const ParseState& state) { return Current(state).kind == PatternTokenKind::Identifier; }

bool IsKeyword(const ParseState& state, std::u16string_view keyword) {
    return IsIdentifier(state) && IdentifierEquals(Current(state).text, keyword);
}

// Failure at a token: the message with the token's position and the line excerpt.
bool FailAt(ParseState& state, const PatternToken& token, const std::u16string& message) {
    state.error = FormatPatternError(state.source, token.line, token.column, message);
    return false;
}

bool FailAtCurrent(ParseState& state, const std::u16string& message) {
    const PatternToken token = Current(state);
    return FailAt(state, token, message);
}

bool FailBare(ParseState& state, const std::u16string& message) {
    state.error = message;
    return false;
}

// Advances to the first ";" or the End token; the tokens passed over are returned.
// With brace given, a "{" on the way stops the walk and its index is stored there.
std::span<const PatternToken> CollectUntilSemicolon(ParseState& state, std::size_t* brace = nullptr) {
    const std::size_t first = state.cursor;
    while (!IsEnd(state) && !IsPunct(state, u';')) {
        if (brace != nullptr && IsPunct(state, u'{')) {
            *brace = state.cursor;
            break;
        }
        Advance(state);
    }
    return std::span<const PatternToken>(state.tokens).subspan(first, state.cursor - first);
}

struct DirectiveRule {
    std::u16string_view name;
    std::uint64_t ParseState::*field;
    std::initializer_list<std::uint64_t> allowed;
};

const DirectiveRule* FindDirective(std::u16string_view key) {
    static const DirectiveRule kRules[] = {
        {u"sizeof_short", &ParseState::sizeof_short, {1, 2, 4, 8}},
        {u"sizeof_int", &ParseState::sizeof_int, {1, 2, 4, 8}},
        {u"sizeof_long", &ParseState::sizeof_long, {1, 2, 4, 8}},
        {u"sizeof_long_long", &ParseState::sizeof_long_long, {1, 2, 4, 8, 16}},
        {u"sizeof_float", &ParseState::sizeof_float, {2, 4, 8, 16}},
        {u"sizeof_double", &ParseState::sizeof_double, {4, 8, 16}},
        {u"pointer_size", &ParseState::pointer_size, {1, 2, 4, 8, 16}},
        {u"member_align", &ParseState::member_align, {0, 4, 8}},
    };
    for (const DirectiveRule& rule : kRules) {
        if (rule.name == key) return &rule;
    }
    return nullptr;
}

bool ParseEntryDirective(ParseState& state) {
    std::u16string name;
    if (IsKeyword(state, u"struct")) {
        Advance(state);
        if (!IsIdentifier(state)) return FailAtCurrent(state, u"Expected struct name after @entry struct.");
        name = u"struct " + Current(state).text;
    } else if (IsIdentifier(state)) {
        name = Current(state).text;
    } else {
        return FailAtCurrent(state, u"Expected type name after @entry.");
    }
    Advance(state);
    state.entryGiven = true;
    state.entryName = std::move(name);
    return true;
}

}  // namespace

bool ParseTopLevel(ParseState& state) {
    if (IsPunct(state, u'@')) return ParseDirective(state);
    if (IsKeyword(state, u"typedef")) return ParseTypedef(state);
    if (IsKeyword(state, u"struct")) return ParseStructDeclaration(state, false);
    return FailAtCurrent(state, u"Unsupported top-level declaration.");
}

bool ParseDirective(ParseState& state) {
    if (!IsPunct(state, u'@')) return FailBare(state, u"Expected '@' for directive.");
    const PatternToken at = Current(state);
    Advance(state);
    if (!IsIdentifier(state)) return FailAt(state, at, u"Expected directive name.");
    const std::u16string key = NormalizeTypeName(Current(state).text);
    Advance(state);
    if (key == u"entry") return ParseEntryDirective(state);

    if (Current(state).kind != PatternTokenKind::Number)
        return FailAtCurrent(state, u"Expected numeric directive value.");
    std::uint64_t value = 0;
    if (!ParseDecimal(Current(state).text, value)) return FailAtCurrent(state, u"Invalid directive number.");
    Advance(state);

    const DirectiveRule* rule = FindDirective(key);
    if (rule == nullptr) return FailAt(state, at, u"Unknown directive.");
    bool allowed = false;
    for (std::uint64_t candidate : rule->allowed) allowed = allowed || candidate == value;
    if (!allowed) return FailAt(state, at, u"Directive value is not allowed.");
    state.*rule->field = value;
    return true;
}

bool ParseTypedef(ParseState& state) {
    const PatternToken keyword = Current(state);
    if (!MatchKeyword(state, u"typedef")) return FailAtCurrent(state, u"Expected 'typedef'.");
    if (IsKeyword(state, u"struct")) return ParseStructDeclaration(state, true);

    const std::span<const PatternToken> tokens = CollectUntilSemicolon(state);
    if (!IsPunct(state, u';')) return FailAtCurrent(state, u"Expected ';' after typedef declaration.");
    Advance(state);

    Declaration declaration;
    std::u16string message;
    if (!ParseDeclaration(tokens, declaration, message))
        return FailAt(state, tokens.empty() ? keyword : tokens.front(), message);
    if (declaration.count != 1 || declaration.flexible)
        return FailAt(state, keyword, u"Typedef arrays are not supported.");
    return RegisterTypedefName(state, declaration.name, declaration.type);
}

bool ParseStructDeclaration(ParseState& state, bool allowTypedefForm) {
    const PatternToken keyword = Current(state);
    if (!MatchKeyword(state, u"struct")) return FailAtCurrent(state, u"Expected 'struct'.");
    std::u16string tag;
    if (IsIdentifier(state)) {
        tag = Current(state).text;
        Advance(state);
    }

    if (IsPunct(state, u'{')) {
        Advance(state);
        StructDecl decl;
        decl.tagName = tag;
        if (!ParseStructBody(state, decl)) return false;
        if (IsIdentifier(state)) {
            decl.aliasName = Current(state).text;
            Advance(state);
        }
        if (!IsPunct(state, u';')) return FailAtCurrent(state, u"Expected ';' after struct declaration.");
        Advance(state);
        const std::size_t index = state.structs.size();
        const std::u16string alias = decl.aliasName;
        state.structs.push_back(std::move(decl));
        return RegisterStructName(state, tag, index) && RegisterStructName(state, alias, index);
    }

    if (!allowTypedefForm || tag.empty()) return FailAt(state, keyword, u"Unsupported struct declaration.");
    if (!IsIdentifier(state)) return FailAtCurrent(state, u"Expected typedef alias name.");
    const std::u16string alias = Current(state).text;
    Advance(state);
    if (!IsPunct(state, u';')) return FailAtCurrent(state, u"Expected ';' after typedef.");
    Advance(state);
    TypeRef target;
    target.typeText = u"struct " + tag;
    target.normalizedType = NormalizeTypeName(target.typeText);
    return RegisterTypedefName(state, alias, target);
}

bool ParseStructBody(ParseState& state, StructDecl& decl) {
    if (IsEnd(state)) return FailBare(state, u"Expected '}' to close struct body.");
    for (;;) {
        if (IsPunct(state, u'}')) {
            Advance(state);
            return true;
        }
        std::size_t brace = state.tokens.size();
        const std::span<const PatternToken> tokens = CollectUntilSemicolon(state, &brace);
        if (brace != state.tokens.size())
            return FailAt(state, state.tokens[brace], u"Inline nested struct declarations are not supported.");
        if (!IsPunct(state, u';')) return FailAtCurrent(state, u"Expected ';' after member declaration.");
        Advance(state);

        Declaration declaration;
        std::u16string message;
        if (!ParseDeclaration(tokens, declaration, message))
            return tokens.empty() ? FailAtCurrent(state, message) : FailAt(state, tokens.front(), message);
        decl.members.push_back(MemberDecl{std::move(declaration.name), std::move(declaration.type),
                                          declaration.count, declaration.flexible, tokens.front().line,
                                          tokens.front().column});
        if (IsEnd(state)) return FailBare(state, u"Expected '}' to close struct body.");
    }
}

bool MatchKeyword(ParseState& state, const std::u16string& keyword) {
    if (!IsKeyword(state, keyword)) return false;
    Advance(state);
    return true;
}

bool RegisterStructName(ParseState& state, const std::u16string& name, std::size_t index) {
    if (name.empty()) return true;
    std::u16string normalized = NormalizeTypeName(name);
    const auto [entry, added] = state.structNames.try_emplace(normalized, index);
    if (!added) {
        // The alias of "typedef struct Foo {...} Foo;" names the struct its tag named already.
        if (entry->second == index) return true;
        return FailBare(state, u"Duplicate struct type name: " + name);
    }
    state.structNames.emplace(u"struct " + std::move(normalized), index);  // names hold no blanks
    return true;
}

bool RegisterTypedefName(ParseState& state, const std::u16string& name, const TypeRef& type) {
    if (name.empty()) return true;
    if (!state.typedefs.emplace(NormalizeTypeName(name), type).second)
        return FailBare(state, u"Duplicate typedef name: " + name);
    return true;
}

}  // namespace tvx
