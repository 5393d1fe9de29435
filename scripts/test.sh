#!/usr/bin/env bash
# Sets everything up and runs every test: once in the normal build and once
# under AddressSanitizer and UndefinedBehaviorSanitizer, each database test on
# SQLite and on a throwaway PostgreSQL server started (and stopped) here.
#   scripts/test.sh            both builds
#   scripts/test.sh --quick    the normal build only
set -euo pipefail
cd "$(dirname "$0")/.."

presets=(default asan)
[ "${1:-}" = "--quick" ] && presets=(default)

for preset in "${presets[@]}"; do
  scripts/setup.sh "$preset"
done

build=build
pg=$(scripts/pg-test-server.sh start "$build")
pgdir=$(echo "$pg" | sed -n 's/.*Data Source=\([^;]*\);.*/\1/p')
trap 'scripts/pg-test-server.sh stop "$pgdir"' EXIT

export QM_TEST_PG="$pg"
export QM_REQUIRE_PG=1
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
for preset in "${presets[@]}"; do
  echo "== tests ($preset build)"
  ctest --preset "$preset" -j2 || status=1
done
exit $status
