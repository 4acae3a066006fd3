# Shared by the scripts: packages, build, and running PostgreSQL's tools as the right user.
# Sourced, not run.

TABEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$TABEL_ROOT/build}

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libpq-dev postgresql postgresql-contrib
          libxlsxwriter-dev zlib1g-dev libgtest-dev libbenchmark-dev xvfb xauth poppler-utils
          python3-openpyxl desktop-file-utils locales)

# Runs a command as root: directly when we are root, through sudo otherwise.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the Debian packages the build, the tests and the demo need, when any is missing.
install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The tests run every export under the department's locale as well as under C: ru_RU.UTF-8 is
# generated when the machine lacks it.
ensure_test_locale() {
  locale -a 2>/dev/null | grep -qix 'ru_RU\.utf-\?8' && return 0
  echo "Generating the locale ru_RU.UTF-8"
  as_root localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
}

# Configures the build folder and builds the given targets, or everything when none is given.
# CMAKE_OPTIONS (an array, optional) adds options to the configuration.
build_program() {
  local targets=()
  for t in "$@"; do targets+=(--target "$t"); done
  # A compiler cache, when the machine has one, lets several checkouts share their objects.
  local launcher=()
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$TABEL_ROOT} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
  fi
  cmake -S "$TABEL_ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
    "${CMAKE_OPTIONS[@]}" >/dev/null
  cmake --build "$BUILD_DIR" -j"$(nproc)" "${targets[@]}"
}
CMAKE_OPTIONS=()

# The sanitized build has a folder of its own: its objects must never mix with the plain ones.
SANITIZE_BUILD_DIR=${SANITIZE_BUILD_DIR:-$TABEL_ROOT/build-sanitize}

# Builds with AddressSanitizer (and LeakSanitizer) and UndefinedBehaviorSanitizer. Undefined
# behaviour stops the program instead of being reported and passed over, so a test that meets it
# fails. The flags are part of the compile command, so ccache keeps these objects apart.
build_program_sanitized() {
  local flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
  # Unoptimised: the tests wait on the server far more than they compute, and the build is the
  # longer part of a sanitized run.
  # The benchmarks are timed in the plain build only.
  CMAKE_OPTIONS=(-DCMAKE_BUILD_TYPE=Debug -DTABEL_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS="$flags"
                 -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
                 -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined")
  build_program "$@"
  CMAKE_OPTIONS=()
}

# Runtime options of the sanitizers for the programs run after this. Leaks inside the libraries
# we use (not in our code) are suppressed by scripts/lsan.supp.
use_sanitizer_options() {
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS=suppressions=$TABEL_ROOT/scripts/lsan.supp:print_suppressions=0
  # The leak checker stops the world through ptrace; where a container forbids that it fails
  # every program at exit. Memory errors and undefined behaviour are still checked there.
  local probe
  probe=$("$BUILD_DIR/tests/data/data_tests" --gtest_list_tests 2>&1 || true)
  if [[ $probe == *"LeakSanitizer has encountered a fatal error"* ]]; then
    echo "LeakSanitizer cannot run on this machine (no ptrace): leaks are not checked" >&2
    export ASAN_OPTIONS=${ASAN_OPTIONS/detect_leaks=1/detect_leaks=0}
  fi
}

# The newest installed PostgreSQL server's binaries.
pg_bin() {
  ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1
}

# PostgreSQL refuses to run as root: root runs the server tools as the postgres user.
as_pg_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

# Creates the role sys and database $1 owned by it, with Russian letter case rules for upper(),
# through the superuser command given after the name (e.g. psql -h ... -U postgres).
create_program_database() {
  local db=$1; shift
  "$@" -v ON_ERROR_STOP=1 -q -d postgres <<SQL
DO \$\$ BEGIN
  IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'sys') THEN
    CREATE ROLE sys LOGIN PASSWORD 'wopzelk';
  END IF;
END \$\$;
CREATE DATABASE "$db" OWNER sys TEMPLATE template0 ENCODING 'UTF8'
  LOCALE_PROVIDER icu ICU_LOCALE 'ru-RU' LOCALE 'C.UTF-8';
SQL
}

# Loads the given SQL files into database $1 as sys over TCP on host $2, port $3.
load_sql() {
  local db=$1 host=$2 port=$3; shift 3
  for f in "$@"; do
    PGPASSWORD=wopzelk psql -X -q -v ON_ERROR_STOP=1 -h "$host" -p "$port" -U sys -d "$db" -f "$f" >/dev/null
  done
}

# Starts a throwaway PostgreSQL: its own cluster in a temporary folder, on a free port of the
# loopback, removed when the calling script exits. Creates database $1 with the schema and exports
# TABEL_TEST_PGHOST, TABEL_TEST_PGPORT, TABEL_TEST_PGDATABASE, and the commands that restart, stop
# and start the server: TABEL_TEST_PG_RESTART, TABEL_TEST_PG_STOP and TABEL_TEST_PG_START.
start_throwaway_server() {
  local db=$1
  PG_BIN=$(pg_bin)
  PG_DIR=$(mktemp -d /tmp/tabel-test-pg.XXXXXX)
  chmod 755 "$PG_DIR"
  [ "$(id -u)" -eq 0 ] && chown postgres "$PG_DIR"
  PG_PORT=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  trap stop_throwaway_server EXIT

  as_pg_owner "$PG_BIN/initdb" -D "$PG_DIR/data" -U postgres --auth=trust -E UTF8 --locale=C.UTF-8 >/dev/null
  as_pg_owner "$PG_BIN/pg_ctl" -D "$PG_DIR/data" -l "$PG_DIR/server.log" -w \
    -o "-p $PG_PORT -k $PG_DIR -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null

  create_program_database "$db" psql -X -h 127.0.0.1 -p "$PG_PORT" -U postgres
  load_sql "$db" 127.0.0.1 "$PG_PORT" "$TABEL_ROOT/db/schema.sql"

  export TABEL_TEST_PGHOST=127.0.0.1
  export TABEL_TEST_PGPORT=$PG_PORT
  export TABEL_TEST_PGDATABASE=$db
  # Commands for the tests that take the server away while the program works: a restart, and a
  # stop and a start with the same options, as the administrator's tools do them.
  local pg_ctl="$PG_BIN/pg_ctl -D $PG_DIR/data -w"
  local as_owner=""
  [ "$(id -u)" -eq 0 ] && as_owner="runuser -u postgres -- "
  export TABEL_TEST_PG_RESTART="$as_owner$pg_ctl -m fast restart >/dev/null"
  export TABEL_TEST_PG_STOP="$as_owner$pg_ctl -m fast stop >/dev/null"
  export TABEL_TEST_PG_START="$as_owner$pg_ctl -l $PG_DIR/server.log -o '-p $PG_PORT -k $PG_DIR -c listen_addresses=127.0.0.1 -c fsync=off' start >/dev/null"
}

stop_throwaway_server() {
  as_pg_owner "$PG_BIN/pg_ctl" -D "$PG_DIR/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$PG_DIR"
}
