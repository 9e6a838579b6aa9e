#!/bin/sh
# Builds the Debian package once for the package tests (a CTest fixture that runs alone, so no
# other test sees the tree change under it). Exit 77, which CTest counts as skipped, when the
# Debian tools are not installed.
# Usage: build-package.sh CMAKE BUILD_DIR DEB
set -eu
cmake=$1
build=$2
deb=$3
for tool in dpkg-deb dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "skipped: $tool is not installed (apt-get install dpkg-dev)"
    exit 77
  fi
done
rm -f "$deb"
exec "$cmake" --build "$build" --target package
