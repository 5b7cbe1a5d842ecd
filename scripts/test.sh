#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test CI needs:
#   1. the main build (g++, warnings as errors) and all its tests, and the
#      Debian package made from it, unpacked and run,
#   2. the acquisition and link tests under ThreadSanitizer,
#   3. every fuzz target for a short smoke run (clang, ASan + UBSan).
# Exits non-zero on the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)

"$root/scripts/setup.sh"

export QT_QPA_PLATFORM=offscreen
export CTEST_OUTPUT_ON_FAILURE=1

stage() { echo; echo "=== $* ==="; }

# A compiler cache shared by the three trees and by later runs on the same
# machine; paths relative to the checkout so that another clone hits it too.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

stage "main build"
cmake -S "$root" -B "$root/build/ci" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWATTRIX_WERROR=ON "${launcher[@]}"
cmake --build "$root/build/ci" -j "$jobs"
stage "tests"
ctest --test-dir "$root/build/ci" -j "$jobs" --timeout 300

stage "Debian package"
rm -rf "$root/build/ci/package"
cpack --config "$root/build/ci/CPackConfig.cmake" -B "$root/build/ci/package" >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build/ci/CMakeCache.txt")
"$root/scripts/check-package.sh" "$root"/build/ci/package/wattrix_"$version"_*.deb "$version"

stage "ThreadSanitizer build"
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build/tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DWATTRIX_SANITIZE=thread -DWATTRIX_BUILD_UI=OFF -DWATTRIX_BUILD_BENCH=OFF "${launcher[@]}"
cmake --build "$root/build/tsan" -j "$jobs" --target wattrix_tsan_tests
stage "tests under ThreadSanitizer"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
  ctest --test-dir "$root/build/tsan" -j "$jobs" -L tsan --no-tests=ignore --timeout 300

stage "fuzz build"
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DWATTRIX_BUILD_FUZZ=ON -DWATTRIX_SANITIZE=address,undefined -DWATTRIX_BUILD_UI=OFF \
  -DWATTRIX_BUILD_TESTS=OFF -DWATTRIX_BUILD_BENCH=OFF "${launcher[@]}"
cmake --build "$root/build/fuzz" -j "$jobs" --target wattrix_fuzzers
stage "fuzz smoke runs"
ctest --test-dir "$root/build/fuzz" -j "$jobs" -L fuzz --timeout 600

echo
echo "all tests passed"
