#!/usr/bin/env bash
# Usage: bench/smoke_test.sh PATH/NAME_bench
#
# Runs one benchmark at its tiny scale (--smoke) in a database of its own, tabel_bench_NAME, made
# for the run on the test run's throwaway server (TABEL_TEST_PGHOST, TABEL_TEST_PGPORT) and
# dropped afterwards: a benchmark empties and fills its database, which must not be the one the
# other tests share. Fails when the benchmark fails.
set -euo pipefail
source "$(dirname "$0")/../scripts/common.sh"

bench=$1
name=$(basename "$bench" _bench)
db=tabel_bench_$name
superuser=(env PGOPTIONS="-c client_min_messages=warning" psql -X -q -h "$TABEL_TEST_PGHOST" -p "$TABEL_TEST_PGPORT" -U postgres)

drop_database() {
  "${superuser[@]}" -d postgres -c "DROP DATABASE IF EXISTS \"$db\" WITH (FORCE)"
}
drop_database
create_program_database "$db" "${superuser[@]}"
trap drop_database EXIT
load_sql "$db" "$TABEL_TEST_PGHOST" "$TABEL_TEST_PGPORT" "$TABEL_ROOT/db/schema.sql"

TABEL_TEST_PGDATABASE=$db "$bench" --smoke
