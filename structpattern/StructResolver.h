#pragma once
// Type resolution and layout: every struct of a parsed file gets offsets, padding runs, a size
// and an alignment.

#include "structpattern/ParseState.h"
#include "structpattern/StructPatternFile.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tvx {

// Lays structs out on demand, each once. Embedding is followed with an explicit work stack
// rather than recursion, so a chain of any depth needs no more than heap memory.
class StructResolver {
public:
    enum class Progress : std::uint8_t { NotStarted, InProgress, Done };

    // The end of a typedef chain: the first target that is no typedef name (or a pointer), or,
    // with cycle set, the reference that led back into the chain. type points into the parse
    // state's typedef table.
    struct TypedefEnd {
        bool cycle = false;
        const TypeRef* type = nullptr;
    };

    // state must outlive the resolver; failures leave their message in error.
    StructResolver(const ParseState& state, std::u16string& error);

    // Lays out the struct at index and, first, every struct it embeds that is not laid out yet.
    // Nothing on failure.
    [[nodiscard]] std::optional<ResolvedStructInfo> ResolveStruct(std::size_t index);

    [[nodiscard]] Progress ProgressOf(std::size_t index) const { return progress_[index]; }
    // The struct's layout so far; complete once ProgressOf gives Done.
    [[nodiscard]] const StructLayout& LayoutOf(std::size_t index) const { return layouts_[index]; }
    // Follows the typedef chain that starts at name, which must be a (normalized) typedef name.
    [[nodiscard]] const TypedefEnd& FollowTypedef(const std::u16string& name);

    // Hands over the layouts, in declaration order.
    [[nodiscard]] std::vector<StructLayout> TakeLayouts() { return std::move(layouts_); }

private:
    struct Frame {
        std::size_t index;
        std::size_t member = 0;
        std::uint64_t offset = 0;
        std::uint64_t alignment = 1;  // largest effective member alignment so far
    };

    void Begin(std::size_t index, std::vector<Frame>& stack);
    [[nodiscard]] bool AddMember(Frame& frame, const MemberDecl& member, const ResolvedType& type);
    [[nodiscard]] bool Finish(const Frame& frame);
    [[nodiscard]] bool FailAtMember(const MemberDecl& member, const std::u16string& message);
    // Size and offset arithmetic never wraps: passing 2^64 - 1 fails naming the member.
    [[nodiscard]] bool FailTooLarge(const MemberDecl& member);

    const ParseState& state_;
    std::u16string& error_;
    std::vector<Progress> progress_;
    std::vector<StructLayout> layouts_;
    std::unordered_map<std::u16string_view, TypedefEnd> typedefEnds_;  // keys owned by state_.typedefs
};

enum class ResolveStatus { Resolved, NeedsStruct, Failed };

struct TypeResolution {
    ResolveStatus status = ResolveStatus::Failed;
    ResolvedType type;             // Resolved
    std::size_t neededStruct = 0;  // NeedsStruct: lay this struct out first, then resolve again
};

// Pointer, built-in, typedef (followed to its end), then struct name; anything else is unknown.
// Failed leaves the message in error.
[[nodiscard]] TypeResolution ResolveType(const ParseState& state, const TypeRef& type, StructResolver& resolver,
                                         std::u16string& error);

// Lays out every struct of state and fills file with the layouts and the directive values.
[[nodiscard]] bool ResolveStructs(const ParseState& state, StructPatternFile& file, std::u16string& error);

}  // namespace tvx
