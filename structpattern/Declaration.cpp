#include "structpattern/Declaration.h"

#include "structpattern/NumberText.h"
#include "structpattern/TypeNames.h"

namespace tvx {
namespace {

bool IsPunct(const PatternToken& token, char16_t c) {
    return token.kind == PatternTokenKind::Punctuation && token.text.size() == 1 && token.text[0] == c;
}

bool Fail(std::u16string& message, const char16_t* text) {
    message = text;
    return false;
}

// The part after the name: nothing, "[]" or "[count]".
bool ParseArraySuffix(std::span<const PatternToken> tokens, std::size_t nameIndex, Declaration& declaration,
                      std::u16string& message) {
    const std::size_t last = tokens.size() - 1;
    if (nameIndex == last) return true;
    if (!IsPunct(tokens[nameIndex + 1], u'[')) return Fail(message, u"Unexpected tokens after declaration name.");
    if (nameIndex + 2 <= last && IsPunct(tokens[nameIndex + 2], u']')) {
        declaration.count = 0;
        declaration.flexible = true;
        if (nameIndex + 2 != last) return Fail(message, u"Unexpected tokens after flexible array declaration.");
        return true;
    }
    if (nameIndex + 3 <= last && tokens[nameIndex + 2].kind == PatternTokenKind::Number &&
        IsPunct(tokens[nameIndex + 3], u']')) {
        if (!ParseDecimal(tokens[nameIndex + 2].text, declaration.count))
            return Fail(message, u"Invalid array count.");
        if (nameIndex + 3 != last) return Fail(message, u"Unexpected tokens after array declaration.");
        return true;
    }
    return Fail(message, u"Invalid array declaration.");
}

}  // namespace

bool ParseDeclaration(std::span<const PatternToken> tokens, Declaration& declaration, std::u16string& message) {
    if (tokens.empty()) return Fail(message, u"Empty declaration.");
    for (const PatternToken& token : tokens) {
        if (IsPunct(token, u',')) return Fail(message, u"Multiple declarators are not supported in v1.");
    }
    std::size_t nameIndex = tokens.size();
    while (nameIndex > 0 && tokens[nameIndex - 1].kind != PatternTokenKind::Identifier) --nameIndex;
    if (nameIndex == 0) return Fail(message, u"Declaration name was not found.");
    --nameIndex;

    Declaration result;
    result.name = tokens[nameIndex].text;
    if (!ParseArraySuffix(tokens, nameIndex, result, message)) return false;

    for (std::size_t i = 0; i < nameIndex; ++i) {
        const PatternToken& token = tokens[i];
        if (IsPunct(token, u'*')) {
            ++result.type.pointerDepth;
        } else if (token.kind == PatternTokenKind::Identifier) {
            if (!result.type.typeText.empty()) result.type.typeText += u' ';
            result.type.typeText += token.text;
        } else {
            return Fail(message, u"Unsupported declaration syntax.");
        }
    }
    if (result.type.typeText.empty()) return Fail(message, u"Type specifier was not found.");
    result.type.normalizedType = NormalizeTypeName(result.type.typeText);
    declaration = std::move(result);
    return true;
}

}  // namespace tvx
