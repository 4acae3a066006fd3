#!/usr/bin/env bash
# Builds the program and runs every test against a throwaway PostgreSQL that this script starts
# and removes. Works as root (as CI runs it) and as a user with sudo.
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_packages
build_program

start_throwaway_server tabel_test

ctest --test-dir "$BUILD_DIR" --output-on-failure "$@"
