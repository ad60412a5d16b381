#!/usr/bin/env bash
# Usage: run_e2e.sh <quibbet> <test-program> [test-program arguments...]
#
# Gives the end-to-end test a desktop of its own: an X server, a window manager
# and a sound server that nothing else uses, so that other tests running on the
# same machine neither see nor disturb it. Everything started here is stopped
# by its process id on the way out; other sessions' servers are never touched.
set -uo pipefail

if [[ $# -lt 2 ]]; then
  echo "usage: $0 <quibbet> <test-program> [args...]" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
quibbet=$(realpath "$1")
program=$(realpath "$2")
shift 2

for tool in Xvfb xrandr xdotool wmctrl xwininfo xprop xdpyinfo xmodmap pulseaudio pactl parec; do
  command -v "$tool" >/dev/null || { echo "run_e2e: $tool is missing (scripts/install-deps.sh installs it)" >&2; exit 2; }
done

work=$(mktemp -d /tmp/quibbet-e2e.XXXXXX)
pids=()

stop_all() {
  local status=$?
  # Newest first: the sound server and window manager go before the X server they talk to.
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null
  done
  for pid in "${pids[@]}"; do
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  rm -rf "$work"
  exit "$status"
}
trap stop_all EXIT
trap 'exit 130' INT TERM

# ---- Screens side by side, E2E_SCREENS="1024x600" or "1280x1024+1280x1024":
# one X screen wide enough for all, split into monitors.
IFS=+ read -ra monitors <<<"${E2E_SCREENS:-1280x1024}"
width=0 height=0
for m in "${monitors[@]}"; do width=$((width + ${m%x*})); height=$((${m#*x} > height ? ${m#*x} : height)); done

# ---- X server on a display nobody holds. Another run may take the same number
# between the check and the start, so a server that fails to come up means
# "try the next one".
xvfb_pid=
for n in $(seq 90 140); do
  [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
  Xvfb ":$n" -screen 0 "${width}x${height}x24" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    kill -0 "$xvfb_pid" 2>/dev/null || break
    DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 && break 2
    sleep 0.05
  done
  kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=
done
if [[ -z "$xvfb_pid" ]]; then
  echo "run_e2e: no X server could be started" >&2; cat "$work/xvfb.log" >&2; exit 1
fi
pids+=("$xvfb_pid")
export DISPLAY=":$n"
echo "run_e2e: X server on $DISPLAY (pid $xvfb_pid)"
if [[ ${#monitors[@]} -gt 1 ]]; then
  x=0 names=(first second third fourth)
  for i in "${!monitors[@]}"; do
    m=${monitors[i]}
    xrandr --setmonitor "${names[i]}" "${m%x*}/300x${m#*x}/200+$x+0" "$([[ $i -eq 0 ]] && echo screen || echo none)"
    x=$((x + ${m%x*}))
  done
  xrandr --listmonitors
fi

# ---- Window manager: keep-above, fullscreen, focus and Alt+Tab/Alt+F4 only
# mean something under a real one. E2E_WM picks which (openbox by default).
wm=${E2E_WM:-openbox}
case "$wm" in
  openbox) wm_cmd=(openbox --config-file "$here/openbox-rc.xml") ;;
  xfwm4) wm_cmd=(xfwm4 --compositor=off) ;;
  metacity) wm_cmd=(metacity) ;;
  fluxbox) wm_cmd=(fluxbox) ;;
  icewm) wm_cmd=(icewm) ;;
  i3) wm_cmd=(i3 -c "$here/i3-config") ;;
  *) echo "run_e2e: unknown E2E_WM '$wm' (openbox, xfwm4, metacity, fluxbox, icewm, i3)" >&2; exit 2 ;;
esac
command -v "${wm_cmd[0]}" >/dev/null || { echo "run_e2e: $wm is missing (scripts/install-deps.sh installs it)" >&2; exit 2; }
# The window managers' own settings and caches go to this run's home, not the user's.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"
export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
if [[ $wm == xfwm4 ]]; then
  # xfwm4 reads its settings from xfconfd, which a session bus starts on demand.
  dbus-daemon --session --nofork --nopidfile --address="unix:path=$work/bus" >"$work/dbus.log" 2>&1 &
  pids+=($!)
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/bus"
  for _ in $(seq 100); do [[ -S "$work/bus" ]] && break; sleep 0.05; done
fi
"${wm_cmd[@]}" >"$work/wm.log" 2>&1 &
pids+=($!)
for _ in $(seq 200); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done
if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
  echo "run_e2e: $wm did not come up" >&2; cat "$work/wm.log" >&2; exit 1
fi
echo "run_e2e: window manager $wm"
export E2E_WM="$wm"

# ---- Sound server with a null sink whose monitor the test records. Its own
# runtime and home folders keep it apart from any other server on the machine.
export XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --realtime=no --high-priority=no \
  --log-target=stderr --load=module-native-protocol-unix \
  --load="module-null-sink sink_name=cap" >"$work/pulse.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  pactl info >/dev/null 2>&1 && break
  sleep 0.05
done
if ! pactl set-default-sink cap 2>/dev/null; then
  echo "run_e2e: PulseAudio did not come up" >&2; cat "$work/pulse.log" >&2; exit 1
fi

# A null sink with nobody listening renders two seconds at a time, and a
# stream opened in such a block gets no write request until it ends: SDL then
# needs up to two seconds to close its device. A sound card runs at the latency
# its streams ask for; a listener on the monitor that asks for 20 ms makes the
# null sink do the same. Its first two-second block has to run out first.
parec -d cap.monitor --raw --format=s16le --rate=22050 --channels=1 --latency-msec=20 >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  latency=$(pactl list sinks 2>/dev/null | sed -n 's/^[[:space:]]*Latency: \([0-9]*\) usec.*/\1/p' | head -n 1)
  [[ -n "$latency" && "$latency" -lt 100000 ]] && break
  sleep 0.05
done
echo "run_e2e: null sink latency ${latency:-unknown} us"

export QT_QPA_PLATFORM=xcb QUIBBET_EXE="$quibbet"
unset WAYLAND_DISPLAY
mkdir -p "${E2E_SHOTS:-$(dirname "$quibbet")/e2e-shots}"
export E2E_SHOTS="${E2E_SHOTS:-$(dirname "$quibbet")/e2e-shots}"

# Run in the background and wait, so that a TERM from ctest's timeout reaches the trap.
"$program" "$@" &
test_pid=$!
pids+=("$test_pid")
wait "$test_pid"
status=$?
pids=("${pids[@]:0:${#pids[@]}-1}")
exit "$status"
