#!/usr/bin/env bash
# Prints a TCP port on 127.0.0.1 that nothing listens on, for test servers (and
# for a "server that is down"). Exits 1 when 50 random tries all found a listener.
set -euo pipefail
for port in $(shuf -i 20000-60000 -n 50); do
  if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then echo "$port"; exit 0; fi
done
exit 1
