#!/usr/bin/env bash
# Set up, build and run the workbench on a fresh Debian machine.
#   ./run.sh demo   build and run the demo session on the bundled sample plant
#   ./run.sh test   build (with ASan+UBSan) and run the whole test suite, then a short fuzz run
#   ./run.sh build  build the release binaries only
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD
JOBS=$(nproc 2>/dev/null || echo 2)
# ccache hits across clones of the project (CI builds a fresh clone in another folder).
export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=true
PACKAGES=(cmake make g++ pkg-config libxerces-c-dev libexpat1-dev libgtest-dev libgmock-dev libbenchmark-dev
          libpugixml-dev libcli11-dev nlohmann-json3-dev libreadline-dev libcpp-httplib-dev clang libclang-rt-14-dev ccache)
# The browser test of `mirt serve`: headless Chromium driven by Selenium.
TEST_PACKAGES=(chromium chromium-driver python3-selenium)

ensure_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "run.sh: missing packages: ${missing[*]}" >&2
    echo "run.sh: run as root, or install them with: sudo apt-get install ${missing[*]}" >&2
    exit 1
  fi
  echo "run.sh: installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

configure_build() {  # dir, then cmake options
  local dir=$1; shift
  cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  cmake --build "$dir" -j"$JOBS"
}

cmd=${1:-help}
shift || true
case "$cmd" in
  demo)
    ensure_packages
    configure_build build/release -DMIRT_TESTS=OFF -DMIRT_BENCH=OFF
    exec build/release/app/mirt demo --out out/demo "$@"
    ;;
  build)
    ensure_packages
    configure_build build/release -DMIRT_TESTS=OFF -DMIRT_BENCH=ON
    ;;
  test)
    PACKAGES+=("${TEST_PACKAGES[@]}")
    ensure_packages
    configure_build build/test -DCMAKE_BUILD_TYPE=Debug -DMIRT_SANITIZE=ON -DMIRT_BENCH=ON -DMIRT_WERROR=ON
    (cd build/test && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
       ctest --output-on-failure -j"$JOBS" --timeout 600)
    # libFuzzer targets for every parser of outside input, a short run each.
    configure_build build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DMIRT_FUZZ=ON -DMIRT_TESTS=OFF -DMIRT_BENCH=OFF -DMIRT_WERROR=ON
    for f in build/fuzz/fuzz/fuzz_*; do
      [ -x "$f" ] || continue
      name=$(basename "$f")
      corpus=fuzz/corpus/${name#fuzz_}
      mkdir -p "build/fuzz/work/$name"
      echo "fuzz: $name (${FUZZ_SECONDS:-20}s)"
      # A slow input is a failure like a crash: -timeout bounds each one.
      "$f" -max_total_time="${FUZZ_SECONDS:-20}" -timeout=10 -rss_limit_mb=2048 "build/fuzz/work/$name" \
        $( [ -d "$corpus" ] && echo "$corpus" ) >"build/fuzz/work/$name.log" 2>&1 \
        || { tail -50 "build/fuzz/work/$name.log"; echo "fuzz: $name failed"; exit 1; }
    done
    ;;
  bench)
    ensure_packages
    configure_build build/release -DMIRT_TESTS=OFF -DMIRT_BENCH=ON
    for b in build/release/bench/bench_*; do [ -x "$b" ] && "$b" "$@"; done
    ;;
  *)
    echo "usage: ./run.sh demo | test | build | bench" >&2
    exit 2
    ;;
esac
