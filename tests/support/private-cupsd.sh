#!/bin/bash
# A CUPS server of a test's own, never the machine's: a throwaway ServerRoot under a temporary
# folder, listening on a free port of 127.0.0.1 and on a local socket, file devices allowed, no
# browsing, no web interface, no authentication. Needs root (cupsd starts as root and runs filters
# as lp).
#
#   eval "$(private-cupsd.sh start [--watch PID])"
#       Starts the server in the foreground of a background process and prints shell assignments:
#         CUPSD_DIR     the server's folder (cupsd.conf, cups-files.conf, logs under log/, the
#                       folder out/ for the files that file:// queues write)
#         CUPSD_PID     the server's process id
#         CUPSD_PORT    its port on 127.0.0.1
#         CUPSD_SOCKET  its local socket
#         CUPS_SERVER   127.0.0.1:PORT, exported, so that lp, lpadmin, lpstat and libcups talk to it
#       It returns once the server answers. With --watch PID a watcher stops the server when
#       process PID ends (pass $$ so that a test killed halfway leaves no server behind).
#   private-cupsd.sh stop DIR
#       Stops the server of DIR by its process id (TERM, then KILL after 5 s) and removes DIR.
#   private-cupsd.sh log DIR
#       Prints the server's error log (for a failing test's output).
#
# Exit status: 0 done; 1 the server could not be set up or did not start (its log on stderr);
# 2 usage.
# Typical use:
#   eval "$(tests/support/private-cupsd.sh start --watch $$)" || exit 1
#   trap 'tests/support/private-cupsd.sh stop "$CUPSD_DIR"' EXIT
#   lpadmin -p Q -E -v "file://$CUPSD_DIR/out/Q.ps" -P some.ppd
set -u

usage() {
    echo "usage: private-cupsd.sh start [--watch PID] | stop DIR | log DIR" >&2
    exit 2
}

# A port of 127.0.0.1 that nothing answers on; a race with another server is caught by the retries
# of start.
free_port() {
    local port tries
    for tries in $(seq 1 50); do
        port=$((RANDOM % 28000 + 32000))
        if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
            echo "$port"
            return 0
        fi
    done
    return 1
}

write_config() {
    local dir=$1 port=$2
    cat >"$dir/cups-files.conf" <<CONF
FileDevice Yes
ServerRoot $dir
StateDir $dir/state
CacheDir $dir/cache
RequestRoot $dir/spool
TempDir $dir/tmp
Printcap $dir/state/printcap
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
User lp
Group lp
SystemGroup root
CONF
    cat >"$dir/cupsd.conf" <<CONF
LogLevel info
Listen 127.0.0.1:$port
Listen $dir/state/cups.sock
Browsing Off
BrowseLocalProtocols none
WebInterface No
DefaultAuthType None
PreserveJobHistory Yes
MaxJobTime 60
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
}

start() {
    local watch=""
    while [ $# -gt 0 ]; do
        case "$1" in
            --watch) [ $# -ge 2 ] || usage; watch=$2; shift 2 ;;
            *) usage ;;
        esac
    done
    if [ "$(id -u)" -ne 0 ]; then
        echo "private-cupsd.sh: cupsd needs root" >&2
        return 1
    fi
    local dir attempt port pid
    dir=$(mktemp -d "${TMPDIR:-/tmp}/private-cupsd.XXXXXX") || return 1
    # Filters run as lp: the folders above what they read must let lp through.
    chmod 755 "$dir"
    mkdir -p "$dir/state" "$dir/cache" "$dir/spool" "$dir/tmp" "$dir/log" "$dir/out"
    chmod 755 "$dir/out"
    chown root:lp "$dir/tmp" && chmod 1770 "$dir/tmp"
    touch "$dir/private-cupsd"
    # A port taken between the look-up and the start makes cupsd fail: try a few.
    for attempt in 1 2 3; do
        port=$(free_port) || return 1
        write_config "$dir" "$port"
        if ! cupsd -t -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >"$dir/log/check" 2>&1; then
            cat "$dir/log/check" >&2
            rm -rf "$dir"
            return 1
        fi
        cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" </dev/null \
            >>"$dir/log/cupsd.out" 2>&1 &
        pid=$!
        echo "$pid" >"$dir/cupsd.pid"
        local tries
        for tries in $(seq 1 100); do
            if CUPS_SERVER=127.0.0.1:$port lpstat -r 2>/dev/null | grep -q "is running"; then
                if [ -n "$watch" ]; then
                    (while kill -0 "$watch" 2>/dev/null && kill -0 "$pid" 2>/dev/null; do
                        sleep 1
                    done
                    kill "$pid" 2>/dev/null) </dev/null >/dev/null 2>&1 &
                fi
                echo "CUPSD_DIR=$dir"
                echo "CUPSD_PID=$pid"
                echo "CUPSD_PORT=$port"
                echo "CUPSD_SOCKET=$dir/state/cups.sock"
                echo "export CUPS_SERVER=127.0.0.1:$port"
                return 0
            fi
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    echo "private-cupsd.sh: cupsd did not start" >&2
    cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null
    rm -rf "$dir"
    return 1
}

stop() {
    [ $# -eq 1 ] || usage
    local dir=$1 pid tries
    # Only a folder this script made is removed.
    [ -f "$dir/private-cupsd" ] || { echo "private-cupsd.sh: $dir is not a private server's folder" >&2; return 1; }
    pid=$(cat "$dir/cupsd.pid" 2>/dev/null)
    if [ -n "$pid" ] && kill -TERM "$pid" 2>/dev/null; then
        for tries in $(seq 1 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$pid" 2>/dev/null
    fi
    rm -rf "$dir"
}

case "${1:-}" in
    start) shift; start "$@" ;;
    stop) shift; stop "$@" ;;
    log)
        [ $# -eq 2 ] || usage
        cat "$2/log/error_log" 2>/dev/null
        ;;
    *) usage ;;
esac
