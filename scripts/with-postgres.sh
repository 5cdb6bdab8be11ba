#!/usr/bin/env bash
# Runs a command beside a throwaway PostgreSQL server: a cluster in a
# temporary folder, listening on a free port of 127.0.0.1 (and a socket in
# that folder), removed again when the command ends. The command finds it in
#   KANMURI_TEST_POSTGRES=127.0.0.1:PORT:USER   (trust login, may create databases)
# PostgreSQL refuses to run as root: run as root, the cluster belongs to
# "nobody". Set KANMURI_PG_DURABLE=1 to keep the server's default fsync
# settings (benchmarks); tests run without them.
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: with-postgres.sh COMMAND [ARGS...]" >&2; exit 2; }
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$bin/initdb" ] || { echo "PostgreSQL is not installed (apt-get install postgresql)" >&2; exit 1; }

dir=$(mktemp -d "${TMPDIR:-/tmp}/kanmuri-pg.XXXXXX")
as=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$dir"
  as=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
fi
ctl() { (cd "$dir" && "${as[@]}" "$bin/pg_ctl" -D "$dir/data" "$@"); }
cleanup() {
  ctl stop -m immediate >/dev/null 2>&1 || true
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

(cd "$dir" && "${as[@]}" "$bin/initdb" -D "$dir/data" -U kanmuri --auth=trust \
   --encoding=UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1) ||
  { cat "$dir/initdb.log" >&2; exit 1; }
{
  echo "listen_addresses = '127.0.0.1'"
  echo "unix_socket_directories = '$dir'"
  echo "max_connections = 200"
  if [ "${KANMURI_PG_DURABLE:-0}" != 1 ]; then
    echo "fsync = off"
    echo "synchronous_commit = off"
    echo "full_page_writes = off"
  fi
} | "${as[@]}" tee -a "$dir/data/postgresql.conf" >/dev/null

started=""
for attempt in 1 2 3 4 5 6 7 8 9 10; do
  port=$(( 20000 + RANDOM % 40000 ))
  # A port something already answers on is taken.
  if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then continue; fi
  if ctl -w -t 60 -l "$dir/server.log" -o "-p $port" start >/dev/null 2>&1; then
    started=$port
    break
  fi
done
[ -n "$started" ] || { cat "$dir/server.log" >&2 || true; echo "the PostgreSQL server did not start" >&2; exit 1; }

export KANMURI_TEST_POSTGRES="127.0.0.1:$started:kanmuri"
status=0
"$@" || status=$?
exit $status
