#!/usr/bin/env bash
# Builds the Debian package of the program: the program, its launcher and desktop entry with the
# icon, /etc/tabel.conf and /usr/share/tabel/schema.sql; no tests. Writes tabel_VERSION_ARCH.deb
# to the top of the checkout and prints its name.
#
# Install it on a workstation with   apt-get install ./tabel_*.deb
# Every workstation should get the same package: a newer build stops older ones (version check).
set -euo pipefail
source "$(dirname "$0")/common.sh"

# The package is built apart from the development build, without the tests and benchmarks.
BUILD_DIR=${PACKAGE_BUILD_DIR:-$TABEL_ROOT/build-package}
PACKAGES+=(dpkg-dev file)
CMAKE_OPTIONS=(-DTABEL_BUILD_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr)

install_packages
build_program
(cd "$BUILD_DIR" && cpack -G DEB >/dev/null)
deb=$(cd "$BUILD_DIR" && ls -t tabel_*.deb | head -n 1)
cp "$BUILD_DIR/$deb" "$TABEL_ROOT/"
echo "$TABEL_ROOT/$deb"
