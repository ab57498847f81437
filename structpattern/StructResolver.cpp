#include "structpattern/StructResolver.h"

#include "structpattern/PatternError.h"
#include "structpattern/TypeNames.h"

#include <algorithm>
#include <limits>

namespace tvx {
namespace {

constexpr std::uint64_t kMaxSize = std::numeric_limits<std::uint64_t>::max();

std::u16string DisplayName(const StructDecl& decl) {
    if (!decl.aliasName.empty()) return decl.aliasName;
    if (!decl.tagName.empty()) return decl.tagName;
    return u"<anonymous>";
}

FieldLayout PaddingField(std::uint64_t offset, std::uint64_t bytes) {
    FieldLayout field;
    field.name = u"<padding>";
    field.typeText = u"padding";
    field.normalizedType = u"padding";
    field.kind = FieldKind::Bytes;
    field.offset = offset;
    field.elementSize = 1;
    field.size = bytes;
    field.count = bytes;
    field.padding = true;
    return field;
}

// Rounds offset up to a multiple of alignment (at least 1); false when that passes 2^64 - 1.
bool AlignUp(std::uint64_t offset, std::uint64_t alignment, std::uint64_t& aligned) {
    const std::uint64_t remainder = offset % alignment;
    if (remainder == 0) {
        aligned = offset;
        return true;
    }
    const std::uint64_t gap = alignment - remainder;
    if (offset > kMaxSize - gap) return false;
    aligned = offset + gap;
    return true;
}

}  // namespace

StructResolver::StructResolver(const ParseState& state, std::u16string& error)
    : state_(state),
      error_(error),
      progress_(state.structs.size(), Progress::NotStarted),
      layouts_(state.structs.size()) {
    typedefEnds_.reserve(state.typedefs.size());
}

const StructResolver::TypedefEnd& StructResolver::FollowTypedef(const std::u16string& name) {
    // Every name on the chain gets the chain's end, so each typedef is walked once per load.
    // While a chain is followed its names hold an end without a type: meeting one again
    // means a cycle.
    auto entry = state_.typedefs.find(name);
    const auto [first, fresh] = typedefEnds_.try_emplace(entry->first);
    if (!fresh) return first->second;
    std::vector<TypedefEnd*> path{&first->second};
    TypedefEnd end;
    for (;;) {
        const TypeRef& target = entry->second;
        const auto next = state_.typedefs.find(target.normalizedType);
        if (target.pointerDepth >= 1 || BuiltinTypeSize(state_, target.normalizedType) ||
            next == state_.typedefs.end()) {
            end = TypedefEnd{false, &target};
            break;
        }
        const auto [slot, unseen] = typedefEnds_.try_emplace(next->first);
        if (!unseen) {
            end = slot->second.type != nullptr ? slot->second : TypedefEnd{true, &target};
            break;
        }
        path.push_back(&slot->second);
        entry = next;
    }
    for (TypedefEnd* slot : path) *slot = end;
    return first->second;
}

TypeResolution ResolveType(const ParseState& state, const TypeRef& ref, StructResolver& resolver,
                           std::u16string& error) {
    TypeResolution result;
    const TypeRef* type = &ref;
    // A typedef never hides a built-in of the same name, and wins over a struct name.
    if (type->pointerDepth == 0 && !BuiltinTypeSize(state, type->normalizedType) &&
        state.typedefs.contains(type->normalizedType)) {
        const StructResolver::TypedefEnd& end = resolver.FollowTypedef(type->normalizedType);
        if (end.cycle) {
            error = u"Circular typedef definition: " + end.type->typeText;
            return result;
        }
        type = end.type;
    }

    if (type->pointerDepth >= 1) {
        result.status = ResolveStatus::Resolved;
        result.type.size = state.pointer_size;
        result.type.alignment = state.pointer_size;
        return result;
    }
    if (const auto size = BuiltinTypeSize(state, type->normalizedType)) {
        result.status = ResolveStatus::Resolved;
        result.type.size = *size;
        result.type.alignment = *size == 0 ? 1 : *size;
        if (type->normalizedType == u"float") result.type.kind = FieldKind::Float;
        if (type->normalizedType == u"double") result.type.kind = FieldKind::Double;
        return result;
    }
    const auto named = state.structNames.find(type->normalizedType);
    if (named == state.structNames.end()) {
        error = u"Unknown type: " + type->typeText;
        return result;
    }
    const std::size_t index = named->second;
    switch (resolver.ProgressOf(index)) {
    case StructResolver::Progress::NotStarted:
        result.status = ResolveStatus::NeedsStruct;
        result.neededStruct = index;
        return result;
    case StructResolver::Progress::InProgress:
        error = u"Direct recursive struct embedding is not allowed.";
        return result;
    case StructResolver::Progress::Done:
        break;
    }
    const StructLayout& layout = resolver.LayoutOf(index);
    result.status = ResolveStatus::Resolved;
    result.type.size = layout.size;
    result.type.alignment = std::max<std::uint64_t>(layout.alignment, 1);
    result.type.kind = FieldKind::Bytes;
    result.type.structName = layout.name;
    result.type.structIndex = index;
    return result;
}

std::optional<ResolvedStructInfo> StructResolver::ResolveStruct(std::size_t index) {
    if (progress_[index] == Progress::InProgress) {
        error_ = u"Direct recursive struct embedding is not allowed.";
        return std::nullopt;
    }
    // The stack holds the structs being laid out, each waiting for the one above it; a member
    // whose struct is not laid out yet pushes that struct and is resolved again afterwards.
    std::vector<Frame> stack;
    if (progress_[index] == Progress::NotStarted) Begin(index, stack);
    while (!stack.empty()) {
        Frame& frame = stack.back();
        const StructDecl& decl = state_.structs[frame.index];
        if (frame.member == decl.members.size()) {
            if (!Finish(frame)) return std::nullopt;
            stack.pop_back();
            continue;
        }
        const MemberDecl& member = decl.members[frame.member];
        if (member.flexible && frame.member + 1 != decl.members.size()) {
            (void)FailAtMember(member, u"Flexible array member must be the last member.");
            return std::nullopt;
        }
        const TypeResolution resolution = ResolveType(state_, member.type, *this, error_);
        if (resolution.status == ResolveStatus::Failed) return std::nullopt;
        if (resolution.status == ResolveStatus::NeedsStruct) {
            Begin(resolution.neededStruct, stack);  // invalidates frame
            continue;
        }
        if (!AddMember(frame, member, resolution.type)) return std::nullopt;
        ++frame.member;
    }
    return ResolvedStructInfo{layouts_[index].size, layouts_[index].alignment};
}

void StructResolver::Begin(std::size_t index, std::vector<Frame>& stack) {
    progress_[index] = Progress::InProgress;
    layouts_[index].name = DisplayName(state_.structs[index]);
    stack.push_back(Frame{index});
}

bool StructResolver::AddMember(Frame& frame, const MemberDecl& member, const ResolvedType& type) {
    const std::uint64_t alignment = state_.member_align == 0 ? 1 : std::min(state_.member_align, type.alignment);
    frame.alignment = std::max(frame.alignment, alignment);

    std::uint64_t offset = 0;
    if (!AlignUp(frame.offset, alignment, offset))
        return FailTooLarge(member);
    std::vector<FieldLayout>& fields = layouts_[frame.index].fields;
    if (offset != frame.offset) fields.push_back(PaddingField(frame.offset, offset - frame.offset));

    FieldLayout field;
    field.name = member.name;
    field.typeText = member.type.typeText;
    field.normalizedType = member.type.normalizedType;
    field.structName = type.structName;
    field.structIndex = type.structIndex;
    field.kind = type.kind;
    field.offset = offset;
    field.elementSize = type.size;
    field.flexible = member.flexible;
    if (member.flexible) {
        field.count = 0;
        field.size = 0;
    } else {
        if (type.size != 0 && member.count > kMaxSize / type.size)
            return FailTooLarge(member);
        field.count = member.count;
        field.size = member.count * type.size;
    }
    if (field.size == 0 && member.type.pointerDepth == 0 && !member.flexible)
        return FailAtMember(member, u"Unsupported zero-sized member type: " + member.name);
    if (field.size > kMaxSize - offset)
        return FailTooLarge(member);

    frame.offset = offset + field.size;
    fields.push_back(std::move(field));
    return true;
}

bool StructResolver::Finish(const Frame& frame) {
    StructLayout& layout = layouts_[frame.index];
    std::uint64_t size = frame.offset;
    if (state_.member_align != 0) {
        if (!AlignUp(frame.offset, frame.alignment, size)) {
            const MemberDecl& last = state_.structs[frame.index].members.back();
            return FailTooLarge(last);
        }
        if (size != frame.offset) layout.fields.push_back(PaddingField(frame.offset, size - frame.offset));
    }
    layout.size = size;
    layout.alignment = frame.alignment;
    progress_[frame.index] = Progress::Done;
    return true;
}

bool StructResolver::FailAtMember(const MemberDecl& member, const std::u16string& message) {
    error_ = FormatPatternError(state_.source, member.line, member.column, message);
    return false;
}

bool StructResolver::FailTooLarge(const MemberDecl& member) {
    return FailAtMember(member, u"Size or offset of member is too large: " + member.name);
}

bool ResolveStructs(const ParseState& state, StructPatternFile& file, std::u16string& error) {
    StructResolver resolver(state, error);
    for (std::size_t index = 0; index < state.structs.size(); ++index) {
        if (!resolver.ResolveStruct(index)) return false;
    }
    file.sizeof_short = state.sizeof_short;
    file.sizeof_int = state.sizeof_int;
    file.sizeof_long = state.sizeof_long;
    file.sizeof_long_long = state.sizeof_long_long;
    file.sizeof_float = state.sizeof_float;
    file.sizeof_double = state.sizeof_double;
    file.pointer_size = state.pointer_size;
    file.member_align = state.member_align;
    file.structs = resolver.TakeLayouts();
    return true;
}

}  // namespace tvx
