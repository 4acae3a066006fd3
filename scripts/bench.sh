#!/usr/bin/env bash
# Usage: scripts/bench.sh NAME [benchmark arguments...]
#
# Builds benchmark NAME (bench/NAME_bench.cpp) and runs it against a throwaway PostgreSQL, where it
# loads a department at full scale. Every benchmark measures its work and the floor it is compared
# with in the same run and prints as its last line "NAME ratio R": ours over the floor. Arguments
# after the name go to the benchmark program (--benchmark_filter=..., --benchmark_min_time=...).
set -euo pipefail
source "$(dirname "$0")/common.sh"

benchmarks() {
  for f in "$TABEL_ROOT"/bench/*_bench.cpp; do basename "$f" _bench.cpp; done
}

if [ $# -lt 1 ] || [ ! -f "$TABEL_ROOT/bench/${1}_bench.cpp" ]; then
  echo "usage: scripts/bench.sh NAME [benchmark arguments...]" >&2
  echo "benchmarks: $(benchmarks | tr '\n' ' ')" >&2
  exit 2
fi
name=$1; shift

install_packages
build_program "${name}_bench"
start_throwaway_server tabel_bench
QT_QPA_PLATFORM=offscreen "$BUILD_DIR/bench/${name}_bench" "$@"
