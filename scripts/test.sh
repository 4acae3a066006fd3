#!/usr/bin/env bash
# Builds the program and runs every test against a throwaway PostgreSQL that this script starts
# and removes. Works as root (as CI runs it) and as a user with sudo.
#
#   scripts/test.sh [ctest arguments...]             the plain build in build/
#   scripts/test.sh --sanitize [ctest arguments...]  AddressSanitizer and UndefinedBehaviorSanitizer,
#                                                    built in build-sanitize/
#
# With CI=true and no arguments it runs the plain suite and then the sanitized one.
set -euo pipefail
source "$(dirname "$0")/common.sh"

sanitize=0
if [ "${1:-}" = --sanitize ]; then sanitize=1; shift; fi

install_packages
ensure_test_locale

if [ "$sanitize" = 1 ]; then
  BUILD_DIR=$SANITIZE_BUILD_DIR
  build_program_sanitized
  use_sanitizer_options
else
  build_program
fi

start_throwaway_server tabel_test

ctest --test-dir "$BUILD_DIR" --output-on-failure "$@"

if [ "$sanitize" = 0 ] && [ $# -eq 0 ] && [ "${CI:-}" = true ]; then
  stop_throwaway_server
  trap - EXIT
  exec "$0" --sanitize
fi
