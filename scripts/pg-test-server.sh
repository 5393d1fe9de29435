#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests: a new cluster in a temporary
# folder, listening on a Unix socket only, with the template database
# "qm_template" holding the shipped schema and seed data.
#
#   scripts/pg-test-server.sh start BUILD_DIR   prints the QM_TEST_PG connection string
#   scripts/pg-test-server.sh stop DIR
set -euo pipefail

PGBIN=${PGBIN:-$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)}
PORT=${QM_PG_PORT:-54329}

case "${1:-}" in
start)
  build=${2:?build folder}
  dir=$(mktemp -d /tmp/qm-pg.XXXXXX)
  chmod 755 "$dir"
  chown postgres:postgres "$dir"
  runuser -u postgres -- "$PGBIN/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 --no-sync >"$dir/initdb.log" 2>&1
  runuser -u postgres -- "$PGBIN/pg_ctl" -D "$dir/data" -l "$dir/log" -w \
    -o "-c listen_addresses='' -k $dir -p $PORT -c fsync=off -c full_page_writes=off -c synchronous_commit=off" start >/dev/null
  admin="Provider=PostgreSQL;Data Source=$dir;Port=$PORT;User ID=postgres;Initial Catalog=postgres"
  runuser -u postgres -- "$PGBIN/psql" -h "$dir" -p "$PORT" -U postgres -d postgres -q -c "create database qm_template" >/dev/null
  "$build/bin/qmdb" create-pgsql "Provider=PostgreSQL;Data Source=$dir;Port=$PORT;User ID=postgres;Initial Catalog=qm_template" \
    --scripts "$(dirname "$0")/../db" >/dev/null
  echo "$admin"
  ;;
stop)
  dir=${2:?server folder}
  runuser -u postgres -- "$PGBIN/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  rm -rf "$dir"
  ;;
*)
  echo "usage: $0 start BUILD_DIR | stop DIR" >&2
  exit 2
  ;;
esac
