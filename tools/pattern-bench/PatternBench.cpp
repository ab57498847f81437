// pattern-bench: how long loading large struct pattern files takes.
//
// Generates definition files in memory (about 10 MB each unless a size in MB is given) and
// loads each a few times, printing the best time. The shapes: many ordinary structs with
// typedefs and arrays; one struct of many members; a chain of structs each embedding the next;
// a chain of typedefs.
//
// usage: pattern-bench [MEGABYTES [SHAPE]]

#include "structpattern/PatternLoader.h"
#include "structpattern/StructRows.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

std::string ManyStructs(std::size_t bytes) {
    std::string s = "@entry S0\ntypedef unsigned int DWORD;\ntypedef struct Pair { DWORD a; DWORD b; } Pair;\n";
    for (int i = 0; s.size() < bytes; ++i) {
        s += "// record " + std::to_string(i) + "\nstruct S" + std::to_string(i) + " {\n";
        s += "    unsigned short version;\n    DWORD flags;\n    double scale;\n    char name[32];\n";
        s += "    Pair pairs[4];\n    struct Pair *next;\n    uint64_t id;\n};\n";
    }
    return s;
}

std::string OneWideStruct(std::size_t bytes) {
    std::string s = "struct Wide {\n";
    for (int i = 0; s.size() < bytes; ++i) s += "    uint32_t member" + std::to_string(i) + ";\n";
    return s + "};\n";
}

std::string StructChain(std::size_t bytes) {
    std::string s = "@entry S0\n";
    int i = 0;
    for (; s.size() < bytes; ++i) s += "struct S" + std::to_string(i) + " { struct S" + std::to_string(i + 1) + " next; };\n";
    return s + "struct S" + std::to_string(i) + " { int n; char tail[]; };\n";
}

std::string TypedefChain(std::size_t bytes) {
    std::string s;
    int i = 0;
    for (; s.size() < bytes; ++i) s += "typedef T" + std::to_string(i + 1) + " T" + std::to_string(i) + ";\n";
    return s + "typedef double T" + std::to_string(i) + ";\nstruct S { T0 first; T1 second; };\n";
}

void Measure(const char* name, const std::string& source) {
    double best = 1e9;
    double bestCpu = 1e9;
    std::size_t structs = 0;
    for (int round = 0; round < 3; ++round) {
        tvx::StructPatternFile file;
        std::u16string error;
        const auto start = Clock::now();
        const std::clock_t cpuStart = std::clock();
        const bool ok = tvx::LoadStructPatternBytes(source, file, error);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        bestCpu = std::min(bestCpu, static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
        if (!ok) {
            std::printf("%-16s FAILED\n", name);
            return;
        }
        best = std::min(best, seconds);
        structs = file.structs.size();
    }
    std::printf("%-16s %6.2f MB  %8zu structs  best of 3: %6.3f s wall, %6.3f s CPU\n", name, source.size() / 1e6,
                structs, best, bestCpu);
}

}  // namespace

int main(int argc, char** argv) {
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 10.0;
    const std::string only = argc > 2 ? argv[2] : "";  // a shape's name, to profile one
    const auto bytes = static_cast<std::size_t>(megabytes * 1e6);
    const std::pair<const char*, std::string (*)(std::size_t)> shapes[] = {
        {"many structs", ManyStructs},
        {"one wide struct", OneWideStruct},
        {"struct chain", StructChain},
        {"typedef chain", TypedefChain},
    };
    for (const auto& [name, make] : shapes) {
        if (only.empty() || only == name) Measure(name, make(bytes));
    }
    return 0;
}
