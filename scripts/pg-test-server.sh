#!/usr/bin/env bash
# Starts or stops the throwaway PostgreSQL server the tests run against: a cluster of its
# own in DIR, listening only on a Unix socket there (no TCP port), run by an unprivileged
# user when the tests run as root. Stopping removes DIR.
#   pg-test-server.sh start|stop DIR
set -euo pipefail
action=$1
dir=$2

# Debian keeps the server programs off PATH.
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
    echo "The PostgreSQL server programs are missing (/usr/lib/postgresql/*/bin):" \
         "install the Debian package postgresql (./test installs it)." >&2
    exit 1
fi

owner=$(id -un)
[ "$(id -u)" -eq 0 ] && owner=nobody
as_owner() {
    if [ "$owner" = "$(id -un)" ]; then "$@"; else runuser -u "$owner" -- "$@"; fi
}

stop() {
    if [ -f "$dir/data/postmaster.pid" ]; then
        as_owner "$bin/pg_ctl" -D "$dir/data" stop -m fast -w >/dev/null 2>&1 ||
            as_owner "$bin/pg_ctl" -D "$dir/data" stop -m immediate -w >/dev/null 2>&1 || true
    fi
    rm -rf "$dir"
}

case "$action" in
    start)
        stop  # what a killed run left
        mkdir -p "$dir"
        chown "$owner" "$dir"
        chmod 700 "$dir"
        # A locale that knows letter case beyond ASCII, as an office's server has.
        locale=--no-locale
        if locale -a 2>/dev/null | grep -ix 'c.utf-\?8' >/dev/null; then locale=--locale=C.UTF-8; fi
        as_owner "$bin/initdb" -D "$dir/data" -U dataloader --auth=trust $locale -E UTF8 \
            >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
        # Durability is of no use to a server that lives for one test run.
        as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -o \
            "-c listen_addresses='' -k $dir -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
            start >/dev/null || { cat "$dir/server.log" >&2; exit 1; }
        echo "PostgreSQL test server on the socket in $dir"
        ;;
    stop)
        stop
        ;;
    *)
        echo "usage: $0 start|stop DIR" >&2
        exit 2
        ;;
esac
