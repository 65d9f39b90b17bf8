#!/usr/bin/env bash
# Runs a test program in a headless Wayland compositor (weston) of its own.
#   under-weston.sh PROGRAM [ARGS...]
set -euo pipefail
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
weston --backend=headless-backend.so --socket=tarnwell-test --width=1024 --height=768 \
  --idle-time=0 >"$runtime/weston.log" 2>&1 &
weston=$!
trap 'kill $weston 2>/dev/null; wait $weston 2>/dev/null; rm -rf "$runtime"' EXIT
for _ in $(seq 100); do
  [ -S "$runtime/tarnwell-test" ] && break
  sleep 0.1
done
[ -S "$runtime/tarnwell-test" ] || { cat "$runtime/weston.log"; exit 1; }
WAYLAND_DISPLAY=tarnwell-test QT_QPA_PLATFORM=wayland "$@"
