// Measures the search scans over a real file: forward and backward through a document with no
// match, so every block is read and scanned.
//
//   search-bench [MEGABYTES] [PATTERN_LENGTH]     (defaults: 256 and 8)

#include "document/EditableDocument.h"
#include "platform/Utf8.h"
#include "search/SearchEngine.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

}  // namespace

int main(int argc, char** argv) {
    const std::uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 256;
    const std::size_t patternLength = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 8;
    if (megabytes == 0 || patternLength == 0 || patternLength > tvx::kMaxSearchPatternLength) {
        std::fprintf(stderr, "usage: search-bench [MEGABYTES] [PATTERN_LENGTH (1-4096)]\n");
        return 2;
    }

    const auto path = std::filesystem::temp_directory_path() / "tavro-search-bench.bin";
    {
        // Bytes below 0x80; the pattern is 0xFF bytes, so nothing matches.
        std::mt19937_64 random(1);
        std::vector<char> chunk(1 << 20);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        for (std::uint64_t i = 0; i < megabytes; ++i) {
            for (auto& byte : chunk) byte = static_cast<char>(random() & 0x7F);
            out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        }
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
            return 1;
        }
    }

    tvx::EditableDocument document;
    if (!document.File().Open(path.u16string())) {
        std::fprintf(stderr, "cannot open %s\n", path.string().c_str());
        return 1;
    }
    const tvx::SearchPattern pattern(patternLength, 0xFF);
    const double size = static_cast<double>(document.GetSize()) / (1 << 20);

    auto start = Clock::now();
    const auto forward = tvx::ForwardSearch(&document, pattern, 0, {}, {});
    const double forwardSeconds = Seconds(start);
    start = Clock::now();
    const auto backward = tvx::BackwardSearch(&document, pattern, document.GetSize(), {}, {});
    const double backwardSeconds = Seconds(start);

    std::printf("%.0f MiB, pattern of %zu bytes: forward %.2f s (%.0f MiB/s), backward %.2f s (%.0f MiB/s)%s\n", size,
                patternLength, forwardSeconds, size / forwardSeconds, backwardSeconds, size / backwardSeconds,
                forward.found || backward.found ? " - unexpected match" : "");
    document.Close();
    std::filesystem::remove(path);
    return forward.found || backward.found ? 1 : 0;
}
