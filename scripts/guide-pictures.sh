#!/usr/bin/env bash
# Remakes the pictures of the user's guide (docs/guide/*.png, shown in the README): starts a
# throwaway PostgreSQL with the schema and the demo department, and lets tests/guide/guide_pictures
# walk through the program's windows headless, grabbing each one. Run it whenever a window changes.
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_packages
build_program guide_pictures
start_throwaway_server tabel_guide
load_sql tabel_guide 127.0.0.1 "$TABEL_TEST_PGPORT" "$TABEL_ROOT/db/demo.sql"

out=$TABEL_ROOT/docs/guide
mkdir -p "$out"
rm -f "$out"/*.png
QT_QPA_PLATFORM=offscreen "$BUILD_DIR/tests/guide/guide_pictures" "$out"
