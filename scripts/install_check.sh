#!/usr/bin/env bash
# Installs a finished build into a scratch prefix and checks what a user of the installed
# library gets: the example program built with `pkg-config --cflags --libs vomtel`, the same
# program built by a small CMake project through find_package(vomtel) and vomtel::vomtel, a
# version the package does not offer refused, and the simulator installed as vomtel-ctisim.
#
#   bash scripts/install_check.sh [BUILD_DIR]      (default build/default)
#
# BUILD_DIR must be a build without sanitizers. The control module registers into a scratch
# registry inside the prefix, never into the user's. Exits 0 and prints one closing line when
# every check passed; on a failure prints what failed and the log of that step.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(cd "${1:-build/default}" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
log=$prefix/step.log

fail() {
  echo "install check failed: $1"
  [ -s "$log" ] && cat "$log"
  exit 1
}

# A program run without arguments prints its usage and exits 2: it was linked and its library
# was found at run time.
expect_usage() {
  local rc=0
  "$1" >"$log" 2>&1 || rc=$?
  [ "$rc" -eq 2 ] || fail "$2 exited $rc instead of 2 (usage)"
}

VOMTEL_REGISTRY="$prefix/registry.reg" cmake --install "$build" --prefix "$prefix/usr" >"$log" 2>&1 ||
  fail "cmake --install"

# pkg-config: compile and link flags from vomtel.pc; the run-time path is the user's to choose.
pc=$(find "$prefix/usr" -name vomtel.pc -print -quit)
[ -n "$pc" ] || fail "no vomtel.pc installed"
export PKG_CONFIG_PATH=$(dirname "$pc")
libdir=$(pkg-config --variable=libdir vomtel)
[ -e "$libdir/libvomtel.so" ] || fail "vomtel.pc's libdir $libdir holds no libvomtel.so"
# shellcheck disable=SC2046  # the flags are meant to be split
cc -std=c11 -Wall -Wextra -Werror -pedantic $(pkg-config --cflags vomtel) \
   "$root/examples/vomtel_demo.c" $(pkg-config --libs vomtel) -Wl,-rpath,"$libdir" \
   -o "$prefix/demo_pkgconfig" >"$log" 2>&1 || fail "building the example with pkg-config"
expect_usage "$prefix/demo_pkgconfig" "the example built with pkg-config"

# CMake: find_package with a version, the imported target and nothing else.
mkdir -p "$prefix/consumer"
cat >"$prefix/consumer/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(vomtel_consumer LANGUAGES C)
set(wanted 1.0 CACHE STRING "version asked of find_package")
find_package(vomtel ${wanted} REQUIRED CONFIG)
add_executable(demo ${DEMO_SOURCE})
set_target_properties(demo PROPERTIES C_STANDARD 11 C_STANDARD_REQUIRED ON C_EXTENSIONS OFF)
target_compile_options(demo PRIVATE -Wall -Wextra -Werror -pedantic)
target_link_libraries(demo PRIVATE vomtel::vomtel)
CMAKE
cmake -S "$prefix/consumer" -B "$prefix/consumer/build" -DCMAKE_PREFIX_PATH="$prefix/usr" \
  -DDEMO_SOURCE="$root/examples/vomtel_demo.c" >"$log" 2>&1 || fail "find_package(vomtel 1.0)"
cmake --build "$prefix/consumer/build" >"$log" 2>&1 || fail "building the example with CMake"
expect_usage "$prefix/consumer/build/demo" "the example built with CMake"
if cmake -S "$prefix/consumer" -B "$prefix/consumer/build2" -DCMAKE_PREFIX_PATH="$prefix/usr" \
     -DDEMO_SOURCE="$root/examples/vomtel_demo.c" -Dwanted=2.0 >"$log" 2>&1; then
  : >"$log"
  fail "find_package(vomtel 2.0) accepted a 1.x package"
fi

# The simulator, when the build has it, is installed under its own name.
if [ -x "$build/tools/ctisim/ctisim" ]; then
  sim=$prefix/usr/bin/vomtel-ctisim
  [ -x "$sim" ] || { : >"$log"; fail "the simulator is not installed as bin/vomtel-ctisim"; }
  "$sim" --help >"$log" 2>&1 || fail "vomtel-ctisim --help"
fi

echo "install check: pkg-config and find_package(vomtel) builds of the example link and run"
