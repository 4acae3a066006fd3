#!/usr/bin/env bash
# Builds the program and runs the benchmarks against a throwaway PostgreSQL holding a department
# at full scale. Extra arguments go to the benchmark program (--benchmark_filter=...).
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_packages
build_program
start_throwaway_server tabel_bench
QT_QPA_PLATFORM=offscreen "$BUILD_DIR/bench/journal_bench" "$@"
