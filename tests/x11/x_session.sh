# Shared by the tests that need a real X server: starts Xvfb on a display
# it picks itself (-displayfd) and, when asked, openbox on it; stops both
# by pid when the test script exits. Source it, then call start_x [wm].
# A missing tool makes the test skip (exit 77) with a message that names it.

x_pids=()
x_scratch=$(mktemp -d)

stop_x() {
  local pid
  for pid in "${x_pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${x_pids[@]}"; do wait "$pid" 2>/dev/null; done
  rm -rf "$x_scratch"
}
trap stop_x EXIT

need_tools() {
  local tool
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "SKIP: $tool is not installed (scripts/setup installs it)"
      exit 77
    fi
  done
}

# start_x [wm]: Xvfb at 1280 x 1024, then openbox when wm is given.
start_x() {
  need_tools Xvfb xdotool xprop
  [ "${1:-}" = wm ] && need_tools openbox
  local fdfile="$x_scratch/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  x_pids+=($!)
  local i
  for i in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
  [ -s "$fdfile" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
  export DISPLAY=":$(tr -d '[:space:]' <"$fdfile")"
  if [ "${1:-}" = wm ]; then
    openbox >/dev/null 2>&1 &
    x_pids+=($!)
    for i in $(seq 100); do
      xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
      sleep 0.1
    done
  fi
}

# wait_window <exact caption> [seconds]: prints the id of the first window
# with that caption once it is mapped; empty after the time.
wait_window() {
  local caption=$1 seconds=${2:-20} i id
  for i in $(seq $((seconds * 10))); do
    for id in $(xdotool search --onlyvisible --name "." 2>/dev/null); do
      if [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$caption" ]; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.1
  done
  return 1
}

# window_rect <id>: "x y width height" of the client area on the root.
window_rect() {
  xdotool getwindowgeometry --shell "$1" | awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{h=$2} END{print x, y, w, h}'
}

failures=0
check() {
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}
