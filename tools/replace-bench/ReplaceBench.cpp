// Times Replace All beside a plain forward search over the same generated file: random bytes
// with COUNT copies of an 8-byte pattern spread evenly, each replaced by 10 bytes (so every
// replacement also inserts), then a sequential read of the edited document. Times are this
// thread's processor seconds (user and system), which other work on a shared machine disturbs
// far less than the wall clock.
//
//   replace-bench [MEGABYTES] [COUNT] [FOLDER]     (default 1024, 100000, the temporary folder)

#include "document/EditableDocument.h"
#include "search/ReplaceAll.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <time.h>

namespace {

namespace fs = std::filesystem;

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double Seconds(double since) { return CpuSeconds() - since; }

const tvx::SearchPattern kPattern = {'T', 'a', 'v', 'r', 'o', 0x00, 0xFF, 0x5A};
const tvx::SearchPattern kReplacement = {'R', 'e', 'p', 'l', 'a', 'c', 'e', 'd', 0x00, 0x01};

bool WriteSample(const fs::path& path, std::uint64_t megabytes, std::uint64_t count) {
    std::mt19937_64 random(1);
    const std::uint64_t size = megabytes << 20;
    const std::uint64_t spacing = size / count;
    std::vector<std::uint8_t> chunk(1 << 20);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (std::uint64_t base = 0; base < size; base += chunk.size()) {
        for (std::size_t i = 0; i < chunk.size(); i += 8) {
            const std::uint64_t word = random();
            for (std::size_t k = 0; k < 8; ++k) chunk[i + k] = static_cast<std::uint8_t>(word >> (8 * k));
        }
        // The matches of this chunk: every one that starts in it and ends in it.
        for (std::uint64_t at = (base + spacing - 1) / spacing * spacing;
             at < count * spacing && at + kPattern.size() <= base + chunk.size(); at += spacing)
            std::copy(kPattern.begin(), kPattern.end(), chunk.begin() + static_cast<std::ptrdiff_t>(at - base));
        out.write(reinterpret_cast<const char*>(chunk.data()), static_cast<std::streamsize>(chunk.size()));
    }
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    const std::uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1024;
    const std::uint64_t count = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 100000;
    const fs::path folder = argc > 3 ? fs::path(argv[3]) : fs::temp_directory_path();
    const fs::path file = folder / "replace-bench.bin";
    if (megabytes == 0 || count == 0 || !WriteSample(file, megabytes, count)) {
        std::fprintf(stderr, "replace-bench: cannot write %s\n", file.c_str());
        return 1;
    }
    tvx::EditableDocument document;
    if (!document.File().Open(file.u16string())) {
        std::fprintf(stderr, "replace-bench: cannot open %s\n", file.c_str());
        return 1;
    }
    // Warm the page cache, so both scans read from memory.
    (void)tvx::ForwardSearch(&document, kReplacement, 0, {}, {});

    double start = CpuSeconds();
    const tvx::SearchResult search = tvx::ForwardSearch(&document, kReplacement, 0, {}, {});
    const double searchSeconds = Seconds(start);

    start = CpuSeconds();
    const tvx::ReplaceTargets targets = tvx::FindReplaceTargets(document, kPattern, 0, UINT64_MAX, UINT64_MAX, {}, {});
    const double scanSeconds = Seconds(start);
    const bool applied = document.ReplaceEach(targets.offsets, kPattern.size(), kReplacement, kPattern);
    const double replaceSeconds = Seconds(start);

    start = CpuSeconds();
    std::uint64_t read = 0;
    for (std::uint64_t offset = 0; offset < document.GetSize(); offset += 1 << 20)
        read += document.ReadBytes(offset, 1 << 20).bytes.size();
    const double readSeconds = Seconds(start);
    fs::remove(file);
    if (search.found || !applied || targets.offsets.size() != count || read != document.GetSize()) {
        std::fprintf(stderr, "replace-bench: the run went wrong (%zu matches of %llu)\n", targets.offsets.size(),
                     static_cast<unsigned long long>(count));
        return 1;
    }
    std::printf("%llu MiB, %llu replacements of 8 bytes by 10\n", static_cast<unsigned long long>(megabytes),
                static_cast<unsigned long long>(count));
    std::printf("plain search (no match)   %.3f s\n", searchSeconds);
    std::printf("replace all               %.3f s  (scan %.3f s, replacing %.3f s)  %.2f x the search\n",
                replaceSeconds, scanSeconds, replaceSeconds - scanSeconds, replaceSeconds / searchSeconds);
    std::printf("read of the edited file   %.3f s  (%.0f MiB/s)\n", readSeconds,
                static_cast<double>(read) / (1 << 20) / readSeconds);
    return 0;
}
