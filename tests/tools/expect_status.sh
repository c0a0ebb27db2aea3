#!/bin/sh
# expect_status.sh STATUS COMMAND [ARGS...]: passes when COMMAND exits with STATUS.
want=$1
shift
"$@" >/dev/null 2>&1
got=$?
if [ "$got" -ne "$want" ]; then
    echo "expected exit status $want, got $got: $*" >&2
    exit 1
fi
