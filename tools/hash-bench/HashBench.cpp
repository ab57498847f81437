// Measures the checksums over a real file, beside sha256sum on the same file: the whole
// document is read in blocks and hashed, as the Checksums dialog and tavro-cli hash do.
//
//   hash-bench [MEGABYTES]     (default 1024)
//
// Prints the throughput of each algorithm alone, that of `sha256sum`, and the ratio of
// SHA-256 to sha256sum (the best of three runs each, the file in the page cache); fails when
// the two SHA-256 digests differ.

#include "checksum/Checksum.h"
#include "document/EditableDocument.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kRuns = 3;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

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

// The digest sha256sum prints and its best time; an empty digest when it cannot run.
std::string RunSha256sum(const fs::path& file, double& best) {
    const std::string command = "sha256sum '" + file.string() + "'";
    std::string digest;
    best = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = Clock::now();
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe) return {};
        char line[256] = {};
        const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
        if (::pclose(pipe) != 0 || !read) return {};
        best = std::min(best, Seconds(start));
        digest = std::string(line, std::find(line, line + sizeof line, ' '));
    }
    return digest;
}

}  // namespace

int main(int argc, char** argv) {
    const std::uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1024;
    if (megabytes == 0) {
        std::fprintf(stderr, "usage: hash-bench [MEGABYTES]\n");
        return 2;
    }
    const fs::path path = fs::temp_directory_path() / "tavro-hash-bench.bin";
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
    std::printf("%.0f MiB; MiB/s (higher is better), best of %d\n", size, kRuns);
    std::string ours;
    double sha256Seconds = 0;
    bool failed = false;
    for (const tvx::ChecksumAlgorithm algorithm : tvx::kChecksumAlgorithms) {
        double best = 1e9;
        for (int run = 0; run < kRuns; ++run) {
            const auto start = Clock::now();
            const auto result = tvx::ComputeChecksums(document, 0, document.GetSize(), std::span(&algorithm, 1), {}, {});
            best = std::min(best, Seconds(start));
            failed = failed || result.status != tvx::ChecksumStatus::Done;
            if (algorithm == tvx::ChecksumAlgorithm::Sha256 && !result.digests.empty()) ours = result.digests[0];
        }
        if (algorithm == tvx::ChecksumAlgorithm::Sha256) sha256Seconds = best;
        std::printf("%-10s %10.0f\n", std::string(tvx::ChecksumName(algorithm)).c_str(), size / best);
    }
    double sumSeconds = 0;
    const std::string theirs = RunSha256sum(path, sumSeconds);
    if (theirs.empty()) {
        std::printf("sha256sum  n/a\n");
    } else {
        std::printf("sha256sum  %10.0f\nsha256 / sha256sum: %.2f\n", size / sumSeconds, sumSeconds / sha256Seconds);
        if (theirs != ours) {
            std::printf("the digests differ: %s here, %s from sha256sum\n", ours.c_str(), theirs.c_str());
            failed = true;
        }
    }
    document.Close();
    fs::remove(path);
    return failed ? 1 : 0;
}
