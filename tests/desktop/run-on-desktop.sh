#!/usr/bin/env bash
# Runs one test program on a desktop of its own: an X server (Xvfb) with a
# window manager (openbox), so that windows are activated, focused and
# re-activated as on a user's desktop. Each run gets its own display, so
# test programs may run side by side.
set -euo pipefail

for tool in Xvfb openbox xdotool xprop; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
done

work=$(mktemp -d)
cleanup() {
  [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null || true
  [ -n "${xserver:-}" ] && kill "$xserver" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The server picks a free display and writes its number once it takes
# connections; the window manager then announces itself on the root window.
# A start that does not come up (a display taken meanwhile) is tried again.
start_desktop() {
  : >"$work/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xserver=$!
  for _ in $(seq 200); do
    grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null && break
    sleep 0.05
  done
  grep -q '^[0-9][0-9]*$' "$work/display" || return 1
  export DISPLAY=":$(head -n1 "$work/display")"
  for _ in $(seq 100); do
    xprop -root >/dev/null 2>&1 && break
    sleep 0.05
  done
  HOME="$work" openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm=$!
  for _ in $(seq 600); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
    kill -0 "$wm" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}

started=""
for attempt in 1 2 3; do
  if start_desktop; then
    started=1
    break
  fi
  kill "$wm" "$xserver" 2>/dev/null || true
  wait 2>/dev/null || true
  wm="" xserver=""
done
if [ -z "$started" ]; then
  echo "the desktop (Xvfb with openbox) did not start" >&2
  cat "$work/xvfb.log" "$work/openbox.log" >&2 || true
  exit 1
fi

export QT_QPA_PLATFORM=xcb
"$@"
