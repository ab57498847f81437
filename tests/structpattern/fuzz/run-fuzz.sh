#!/usr/bin/env bash
# Builds the struct pattern fuzz target with clang (libFuzzer, ASan, UBSan) and runs it for a
# bounded time, seeded with the shipped pattern files.
#   run-fuzz.sh [SECONDS]      default 60
# Environment: FUZZ_BUILD_DIR (default build/fuzz under the repository root), FUZZ_JOBS.
# Exits non-zero when the fuzzer finds a crash, a leak or a failed check; the reproducer is left
# in the build directory (crash-*, leak-*, timeout-*).
set -euo pipefail

seconds=${1:-60}
root=$(cd "$(dirname "$0")/../../.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build/fuzz}
mkdir -p "$build/corpus" "$build/seeds"

sources=("$root"/structpattern/*.cpp "$root/platform/FileContents.cpp" "$root/platform/posix/FilePosix.cpp"
         "$root/platform/posix/Utf8Posix.cpp"
         "$root/tests/structpattern/fuzz/PatternFuzzer.cpp")
binary="$build/pattern-fuzzer"
newest=$(ls -t "${sources[@]}" "$root"/structpattern/*.h "$0" | head -n 1)
if [[ ! -x "$binary" || "$newest" -nt "$binary" ]]; then
  echo "fuzz: building $binary"
  clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$root" "${sources[@]}" -o "$binary"
fi

# Seeds: every shipped pattern, alone and followed by bytes to evaluate.
for pattern in "$root"/patterns/*.tvsd; do
  name=$(basename "$pattern" .tvsd)
  cp "$pattern" "$build/seeds/$name"
  { cat "$pattern"; printf '\0\001'; head -c 300 /dev/urandom; } > "$build/seeds/$name-bytes"
done

cd "$build"
echo "fuzz: running for ${seconds}s"
"$binary" corpus seeds -dict="$root/tests/structpattern/fuzz/pattern.dict" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 ${FUZZ_JOBS:+-jobs=$FUZZ_JOBS -workers=$FUZZ_JOBS} 2>&1 | tail -n 25
