#!/bin/bash
# ctest fixture: starts (or stops) a private HylaFAX server for the submission
# tests under $1 on a free loopback port, which it writes to $1/port.
#   hylafax-fixture.sh DIR start|stop
set -euo pipefail
base=$1
action=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
export HF_BASE=$base
# Every line the send-fax form offers, so each one's jobs are accepted and wait.
export HF_MODEMS="ttyS4 ttyS5 ttyS6 ttyS7 ttyX0 ttyX1 ttyX2 ttyX3"
# A second account whose password needs quoting (hylafax_job_test.cpp).
export HF_USER2=office HF_PASS2='my "secret", ok'

case "$action" in
  start)
    mkdir -p "$base"
    if "$root/scripts/hylafax-test-server" status >/dev/null 2>&1; then
      "$root/scripts/hylafax-test-server" stop
    fi
    port=$("$root/scripts/free-tcp-port.sh")
    HF_PORTS=$port "$root/scripts/hylafax-test-server" start
    echo "$port" > "$base/port"
    ;;
  stop)
    "$root/scripts/hylafax-test-server" stop
    rm -f "$base/port"
    ;;
  *) echo "usage: $0 DIR start|stop" >&2; exit 2 ;;
esac
