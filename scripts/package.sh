#!/usr/bin/env bash
# Builds the Debian packages into a folder (default dist/):
#
#   scripts/package.sh [OUT]            builds build-package/ (no tests) with
#                                       Debian's hardening flags, then packages it
#   scripts/package.sh -B BUILD [OUT]   packages the tree BUILD as it is built
#
# Writes sorvanta_<version>_<arch>.deb (the desktop program with the tool) and
# sorvanta-calc_<version>_<arch>.deb (the tool alone, for servers and the
# Containerfile), or only the latter from a build without the GUI.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=""
while getopts B: option; do
  case $option in
    B) build=$(realpath "$OPTARG") ;;
    *) echo "usage: $0 [-B BUILD_DIR] [OUT_DIR]" >&2; exit 3 ;;
  esac
done
shift $((OPTIND - 1))
out=$(realpath -m "${1:-$root/dist}")

if [ -z "$build" ]; then
  build=${SORVANTA_PACKAGE_BUILD_DIR:-$root/build-package}
  if [ ! -f "$build/build.ninja" ]; then
    flags=()
    if command -v dpkg-buildflags >/dev/null; then
      flags=(-DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
             -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)")
    fi
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
          -DSORVANTA_BUILD_TESTS=OFF -DSORVANTA_BUILD_BENCH=OFF "${flags[@]}"
  fi
  cmake --build "$build" --parallel "$(nproc)"
elif [ ! -f "$build/CPackConfig.cmake" ]; then
  echo "$0: $build is not a configured build folder" >&2
  exit 2
fi

# CPack stages the packages in its own folder; only the packages are kept.
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
if ! cpack --config "$build/CPackConfig.cmake" -B "$stage" >"$stage/cpack.log" 2>&1; then
  cat "$stage/cpack.log" >&2
  exit 1
fi
mkdir -p "$out"
for deb in "$stage"/*.deb; do
  mv -f "$deb" "$out/"
  echo "$out/$(basename "$deb")"
done
