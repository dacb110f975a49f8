#!/usr/bin/env bash
# Device snapshot cost on in-memory trees of growing size (native, optimised build).
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake -S . -B build/dravik-bench -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/dravik-bench --target dravik_snapshot_bench -j2 >/dev/null
echo "== device snapshot (native)"
build/dravik-bench/bench/dravik_snapshot_bench
