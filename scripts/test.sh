#!/usr/bin/env bash
# Builds the program and runs every test against a throwaway PostgreSQL that this script starts
# and removes. Works as root (as CI runs it) and as a user with sudo.
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_packages
build_program

# The throwaway server: its own cluster in a temporary folder, on a free port of the loopback.
PG_BIN=$(pg_bin)
PG_DIR=$(mktemp -d /tmp/tabel-test-pg.XXXXXX)
chmod 755 "$PG_DIR"
[ "$(id -u)" -eq 0 ] && chown postgres "$PG_DIR"
PG_PORT=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

stop_server() {
  as_pg_owner "$PG_BIN/pg_ctl" -D "$PG_DIR/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$PG_DIR"
}
trap stop_server EXIT

as_pg_owner "$PG_BIN/initdb" -D "$PG_DIR/data" -U postgres --auth=trust -E UTF8 --locale=C.UTF-8 >/dev/null
as_pg_owner "$PG_BIN/pg_ctl" -D "$PG_DIR/data" -l "$PG_DIR/server.log" -w \
  -o "-p $PG_PORT -k $PG_DIR -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null

create_program_database tabel_test psql -X -h 127.0.0.1 -p "$PG_PORT" -U postgres
load_sql tabel_test 127.0.0.1 "$PG_PORT" "$TABEL_ROOT/db/schema.sql"

export TABEL_TEST_PGHOST=127.0.0.1
export TABEL_TEST_PGPORT=$PG_PORT
export TABEL_TEST_PGDATABASE=tabel_test
if [ "$(id -u)" -eq 0 ]; then
  export TABEL_TEST_PG_RESTART="runuser -u postgres -- $PG_BIN/pg_ctl -D $PG_DIR/data -w -m fast restart >/dev/null"
else
  export TABEL_TEST_PG_RESTART="$PG_BIN/pg_ctl -D $PG_DIR/data -w -m fast restart >/dev/null"
fi

ctest --test-dir "$BUILD_DIR" --output-on-failure "$@"
