// Measures the search scans over a real file, beside grep on the same file: forward and
// backward through a document with no match, so every block is read and scanned.
//
//   search-bench [MEGABYTES]     (default 1024)
//
// Prints, for hex patterns of 1, 4 and 16 bytes, the throughput of ForwardSearch,
// BackwardSearch and `grep -c -F`, and the forward scan's ratio to grep.

#include "document/EditableDocument.h"
#include "search/SearchEngine.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <sys/wait.h>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Bytes below 0x80 in lines of random length; the patterns are 0xFF bytes, so nothing matches.
bool WriteSample(const fs::path& path, std::uint64_t megabytes) {
    std::mt19937_64 random(1);
    std::vector<char> chunk(1 << 20);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (std::uint64_t i = 0; i < megabytes; ++i) {
        for (auto& byte : chunk) byte = static_cast<char>(random() & 0x7F);
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    }
    return static_cast<bool>(out);
}

// Seconds that `grep -c -F` takes over the file, or a negative value when it cannot run.
double TimeGrep(const fs::path& file, const tvx::SearchPattern& pattern, const fs::path& patternFile) {
    {
        std::ofstream out(patternFile, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(pattern.data()), static_cast<std::streamsize>(pattern.size()));
    }
    const std::string command =
        "LC_ALL=C grep -c -a -F -f '" + patternFile.string() + "' '" + file.string() + "' > /dev/null";
    const auto start = Clock::now();
    const int status = std::system(command.c_str());
    const double seconds = Seconds(start);
    // grep exits 1 when nothing matches, which is the case here; 2 and above are errors.
    return status == -1 || WEXITSTATUS(status) > 1 ? -1 : seconds;
}

}  // namespace

int main(int argc, char** argv) {
    const std::uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1024;
    if (megabytes == 0) {
        std::fprintf(stderr, "usage: search-bench [MEGABYTES]\n");
        return 2;
    }
    const fs::path path = fs::temp_directory_path() / "tavro-search-bench.bin";
    const fs::path patternFile = fs::temp_directory_path() / "tavro-search-bench.pattern";
    if (!WriteSample(path, megabytes)) {
        std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
        return 1;
    }
    tvx::EditableDocument document;
    if (!document.File().Open(path.u16string())) {
        std::fprintf(stderr, "cannot open %s\n", path.string().c_str());
        return 1;
    }

    const double size = static_cast<double>(document.GetSize()) / (1 << 20);
    std::printf("%.0f MiB, no match; MiB/s (higher is better)\n", size);
    std::printf("%-8s %10s %10s %10s %16s\n", "pattern", "forward", "backward", "grep -F", "forward/grep");
    bool unexpected = false;
    for (std::size_t length : {1, 4, 16}) {
        const tvx::SearchPattern pattern(length, 0xFF);
        auto start = Clock::now();
        const auto forward = tvx::ForwardSearch(&document, pattern, 0, {}, {});
        const double forwardSeconds = Seconds(start);
        start = Clock::now();
        const auto backward = tvx::BackwardSearch(&document, pattern, document.GetSize(), {}, {});
        const double backwardSeconds = Seconds(start);
        const double grepSeconds = TimeGrep(path, pattern, patternFile);
        unexpected = unexpected || forward.found || backward.found;

        char grepText[32] = "n/a", ratioText[32] = "n/a";
        if (grepSeconds > 0) {
            std::snprintf(grepText, sizeof grepText, "%.0f", size / grepSeconds);
            std::snprintf(ratioText, sizeof ratioText, "%.2f", grepSeconds / forwardSeconds);
        }
        std::printf("%zu byte%s %10.0f %10.0f %10s %16s\n", length, length == 1 ? " " : "s", size / forwardSeconds,
                    size / backwardSeconds, grepText, ratioText);
    }
    if (unexpected) std::printf("unexpected match: the sample holds the pattern\n");
    document.Close();
    fs::remove(path);
    fs::remove(patternFile);
    return unexpected ? 1 : 0;
}
