#!/usr/bin/env bash
# Builds the program (not the tests and benchmarks), starts a local PostgreSQL on port 5432 with
# the database vesk_erp (created with the schema and the demo department the first time, reused
# afterwards) and opens the program on it.
set -euo pipefail
source "$(dirname "$0")/common.sh"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "demo: no graphical display (DISPLAY is not set). Run this on a desktop, or under Xvfb:" >&2
  echo "      xvfb-run -a scripts/demo.sh" >&2
  exit 1
fi

install_packages
# Only the program: the tests and benchmarks are built by scripts/test.sh and scripts/bench.sh.
build_program tabel

PG_BIN=$(pg_bin)
PG_VERSION=$(basename "$(dirname "$PG_BIN")")

# The server on port 5432: one already running, the distribution's cluster, or our own.
superuser_psql() {
  if [ -n "${OWN_CLUSTER:-}" ]; then
    as_pg_owner psql -X -h "$OWN_CLUSTER" -p 5432 -U postgres "$@"
  else
    as_root runuser -u postgres -- psql -X -p 5432 "$@"
  fi
}

if ! pg_isready -q -h localhost -p 5432; then
  if pg_lsclusters -h 2>/dev/null | awk '$3 == 5432 {found=1} END {exit !found}'; then
    read -r version name _ < <(pg_lsclusters -h | awk '$3 == 5432')
    echo "Starting PostgreSQL cluster $version/$name on port 5432"
    as_root pg_ctlcluster "$version" "$name" start
  else
    OWN_CLUSTER=${TABEL_DEMO_PGDATA:-/var/tmp/tabel-demo-pg}
    echo "Starting a PostgreSQL $PG_VERSION cluster in $OWN_CLUSTER on port 5432"
    if [ ! -d "$OWN_CLUSTER/data" ]; then
      as_root mkdir -p "$OWN_CLUSTER"
      [ "$(id -u)" -eq 0 ] && chown postgres "$OWN_CLUSTER"
      as_pg_owner "$PG_BIN/initdb" -D "$OWN_CLUSTER/data" -U postgres --auth-local=trust \
        --auth-host=scram-sha-256 -E UTF8 --locale=C.UTF-8 >/dev/null
    fi
    as_pg_owner "$PG_BIN/pg_ctl" -D "$OWN_CLUSTER/data" -l "$OWN_CLUSTER/server.log" -w \
      -o "-p 5432 -k $OWN_CLUSTER -c listen_addresses=localhost" start >/dev/null
  fi
  for _ in $(seq 30); do pg_isready -q -h localhost -p 5432 && break; sleep 1; done
else
  [ -d /var/tmp/tabel-demo-pg/data ] && OWN_CLUSTER=/var/tmp/tabel-demo-pg
fi

if superuser_psql -d postgres -tAc "SELECT 1 FROM pg_database WHERE datname = 'vesk_erp'" | grep -q 1; then
  echo "Using the existing database vesk_erp"
else
  echo "Creating the database vesk_erp with the demo department"
  create_program_database vesk_erp superuser_psql
  load_sql vesk_erp localhost 5432 "$TABEL_ROOT/db/schema.sql" "$TABEL_ROOT/db/demo.sql"
fi

exec "$BUILD_DIR/app/tabel"
