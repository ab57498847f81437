// Measures the edited document at scale over a generated file: for 0, 1, 100, 10,000 and
// 100,000 scattered single-byte edits (inserts, deletes and overwrites in turn), the time to
// make them, the sequential read throughput in 1 MiB blocks and its ratio to the unedited
// file, a forward search with no match, and the peak resident memory; then a save through a
// temporary file after one insert, beside `cp` of the same
// file followed by `sync` of the copy.
//
//   edit-bench [MEGABYTES] [FOLDER]     (default 1024, the system's temporary folder)

#include "document/EditableDocument.h"
#include "search/SearchEngine.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <time.h>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Reads and searches are timed in this thread's processor time (user and system), which other
// work on a shared machine disturbs far less than the wall clock.
double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

bool WriteSample(const fs::path& path, std::uint64_t megabytes) {
    std::mt19937_64 random(1);
    std::vector<std::uint64_t> chunk((1 << 20) / sizeof(std::uint64_t));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (std::uint64_t i = 0; i < megabytes; ++i) {
        for (auto& word : chunk) word = random();
        out.write(reinterpret_cast<const char*>(chunk.data()), static_cast<std::streamsize>(chunk.size() * 8));
    }
    return static_cast<bool>(out);
}

// Linux: forget the peak so far, and read it back (VmHWM, in MiB).
void ResetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

double PeakMemoryMiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    return -1;
}

struct Figures {
    double editSeconds = 0;
    double readMiBps = 0;
    double searchSeconds = 0;
    double peakMiB = 0;
};

bool Measure(const fs::path& file, int edits, Figures& figures) {
    ResetPeakMemory();
    tvx::EditableDocument document;
    if (!document.File().Open(file.u16string())) return false;
    std::mt19937_64 random(static_cast<std::uint64_t>(edits) + 7);
    auto start = Clock::now();
    for (int i = 0; i < edits; ++i) {
        const std::uint64_t at = random() % document.GetLogicalSize();
        const auto value = static_cast<std::uint8_t>(random());
        const bool done = i % 3 == 0   ? document.InsertByte(at, value)
                          : i % 3 == 1 ? document.DeleteByte(at)
                                       : document.OverwriteByte(at, value);
        if (!done) return false;
    }
    figures.editSeconds = Seconds(start);

    double cpuStart = CpuSeconds();
    std::uint64_t total = 0;
    for (std::uint64_t offset = 0; offset < document.GetLogicalSize(); offset += 1 << 20) {
        const tvx::ByteBlock block = document.ReadBytes(offset, 1 << 20);
        if (block.bytes.empty()) return false;
        total += block.bytes.size();
    }
    figures.readMiBps = static_cast<double>(total) / (1 << 20) / (CpuSeconds() - cpuStart);

    const tvx::SearchPattern pattern = {0x54, 0x61, 0x76, 0x72, 0x6F, 0x00, 0xFF, 0x01,
                                        0xFE, 0x02, 0xFD, 0x03, 0xFC, 0x04, 0xFB, 0x05};
    cpuStart = CpuSeconds();
    const tvx::SearchResult result = tvx::ForwardSearch(&document, pattern, 0, {}, {});
    figures.searchSeconds = CpuSeconds() - cpuStart;
    figures.peakMiB = PeakMemoryMiB();
    return result.status == tvx::SearchStatus::NotFound;
}

}  // namespace

int main(int argc, char** argv) {
    const std::uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1024;
    const fs::path folder = argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path();
    const fs::path file = folder / "edit-bench.bin";
    const fs::path copy = folder / "edit-bench-copy.bin";
    // The sample goes to disk first, so that its write-back does not slow the save below.
    if (megabytes == 0 || !WriteSample(file, megabytes) || std::system(("sync '" + file.string() + "'").c_str()) != 0) {
        std::fprintf(stderr, "edit-bench: cannot write %s\n", file.c_str());
        return 1;
    }
    std::printf("%llu MiB file, reads in 1 MiB blocks; reads and search in processor seconds\n\n", static_cast<unsigned long long>(megabytes));
    std::printf("%8s %10s %12s %7s %10s %9s\n", "edits", "edit s", "read MiB/s", "ratio", "search s", "peak MiB");
    double baseline = 0;
    for (const int edits : {0, 1, 100, 10000, 100000}) {
        Figures figures;
        if (!Measure(file, edits, figures)) {
            std::fprintf(stderr, "edit-bench: the run with %d edits failed\n", edits);
            return 1;
        }
        if (edits == 0) baseline = figures.readMiBps;
        std::printf("%8d %10.3f %12.0f %7.2f %10.3f %9.1f\n", edits, figures.editSeconds, figures.readMiBps,
                    figures.readMiBps / baseline, figures.searchSeconds, figures.peakMiB);
    }

    tvx::EditableDocument document;
    if (!document.File().Open(file.u16string()) || !document.InsertByte(1, 0x42)) return 1;
    auto start = Clock::now();
    if (!document.Save({})) {
        std::fprintf(stderr, "edit-bench: the save failed\n");
        return 1;
    }
    const double save = Seconds(start);
    // The save flushes its file to disk; so does the copy, for a fair comparison.
    const std::string command = "cp '" + file.string() + "' '" + copy.string() + "' && sync '" + copy.string() + "'";
    start = Clock::now();
    const int status = std::system(command.c_str());
    const double cp = Seconds(start);
    std::printf("\nsave through a temporary file after one insert: %.2f s; cp and sync: %.2f s%s\n", save, cp,
                status == 0 ? "" : " (cp failed)");
    fs::remove(file);
    fs::remove(copy);
    return 0;
}
