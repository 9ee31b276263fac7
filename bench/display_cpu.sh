#!/usr/bin/env bash
# What a display station costs a small PC: the CPU time of the real quorel and
# of the X server while captions scroll on a full-HD screen.
#
# Starts its own Xvfb (1920x1080x24, no window manager) and the station built
# in <build dir> from a private program folder, with its default settings;
# its main window is then made to fill the screen. Once it is up, a second
# process sends it one caption a second over UDP (code page 932, as typists'
# stations do) for <seconds>; the CPU time both processes spend in exactly that
# window is read from /proc. A screenshot taken halfway is kept in the build
# directory and must show text on the smooth screen.
#
# The whole run happens in a private network namespace when the system allows
# one, so the station's fixed ports never meet another station's.
#
# Usage: display_cpu.sh <build dir> [seconds]
set -euo pipefail

build=$(cd "${1:?usage: display_cpu.sh <build dir> [seconds]}" && pwd)
seconds=${2:-30}
station_binary="$build/src/quorel"
[ -x "$station_binary" ] || { echo "display_cpu: no station at $station_binary" >&2; exit 1; }
for tool in Xvfb xdotool import identify iconv; do
  command -v "$tool" >/dev/null || { echo "display_cpu: $tool is missing (scripts/install-deps)" >&2; exit 1; }
done

# Into a network namespace of our own: loopback for the captions and one
# interface with an address, so the station finds a network and starts as it
# does on a LAN (without an address it stops its start and waits).
if [ -z "${QUOREL_DISPLAY_CPU_NETNS:-}" ]; then
  if [ "$(id -u)" -eq 0 ]; then ns=(unshare -n); else ns=(unshare -rn); fi
  if "${ns[@]}" true 2>/dev/null; then
    exec "${ns[@]}" env QUOREL_DISPLAY_CPU_NETNS=1 "$0" "$@"
  fi
  echo "display_cpu: no private network namespace; using the host's network" >&2
  if ss -uln 2>/dev/null | grep -qE ':67(1[1-9]|[2-3][0-9]) '; then
    echo "display_cpu: another station holds the caption ports; stop it first" >&2
    exit 1
  fi
else
  ip link set lo up
  ip link add qb0 type veth peer name qb1
  ip addr add 192.168.77.1/24 dev qb0
  ip link set qb0 up
  ip link set qb1 up
fi

tmp=$(mktemp -d)
xvfb_pid="" station_pid="" feeder_pid=""
stop() { # pid: TERM, a grace period, then KILL
  [ -n "$1" ] && kill -0 "$1" 2>/dev/null || return 0
  kill -TERM "$1" 2>/dev/null || true
  for _ in $(seq 1 50); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  kill -KILL "$1" 2>/dev/null || true
}
cleanup() {
  stop "$feeder_pid"
  stop "$station_pid"
  stop "$xvfb_pid"
  wait 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
  echo "display_cpu: $1" >&2
  [ -f "$tmp/station.out" ] && { echo "--- station output:" >&2; tail -20 "$tmp/station.out" >&2; }
  exit 1
}

# Both servers die with this script, however it ends (setpriv execs them, so
# their pids are the ones started here).
# The X server picks a free display itself and writes its number.
setpriv --pdeathsig KILL Xvfb -displayfd 3 -nolisten tcp -screen 0 1920x1080x24 3>"$tmp/display" 2>"$tmp/xvfb.err" &
xvfb_pid=$!
for _ in $(seq 1 100); do grep -q . "$tmp/display" 2>/dev/null && break; sleep 0.1; done
grep -q . "$tmp/display" || fail "Xvfb did not start: $(cat "$tmp/xvfb.err")"
DISPLAY=":$(head -1 "$tmp/display")"
export DISPLAY
unset XAUTHORITY WAYLAND_DISPLAY

# A private program folder: the station keeps its files (the exit log) beside
# its executable. No settings file: everything is the station's default, the
# smooth screen in the upper part of the window.
mkdir -p "$tmp/program" "$tmp/home" "$tmp/run" "$tmp/work"
chmod 700 "$tmp/run"
cp "$station_binary" "$tmp/program/quorel"

(cd "$tmp/work" && exec env QT_QPA_PLATFORM=xcb HOME="$tmp/home" XDG_RUNTIME_DIR="$tmp/run" \
  XDG_DATA_HOME="$tmp/home/data" XDG_CONFIG_HOME="$tmp/home/config" \
  setpriv --pdeathsig KILL "$tmp/program/quorel") >"$tmp/station.out" 2>&1 &
station_pid=$!

# Up: the splash has come and gone (it closes when the start's second half
# has run, five seconds in) and the main window is the station's one window
# on the screen. A size given before that would be undone by the start.
visible() { xdotool search --all --onlyvisible --pid "$station_pid" 2>/dev/null || true; }
splash=""
for _ in $(seq 1 100); do
  kill -0 "$station_pid" 2>/dev/null || fail "the station ended while starting"
  [ "$(visible | wc -l)" -ge 2 ] && splash=yes && break
  sleep 0.1
done
[ -n "$splash" ] || fail "the station never showed its splash beside its main window"
main=""
for _ in $(seq 1 300); do
  kill -0 "$station_pid" 2>/dev/null || fail "the station ended while starting"
  mapfile -t windows < <(visible)
  if [ "${#windows[@]}" -eq 1 ] && xdotool getwindowname "${windows[0]}" 2>/dev/null | grep -qE '^([0-9]+ : )?Quorel'; then
    main=${windows[0]}
    break
  fi
  sleep 0.1
done
[ -n "$main" ] || fail "the station's main window never came up alone (windows: ${windows[*]:-none})"

# The whole screen, as on a projector. Resized after the start, the station
# adjusts its line count and spacing to the new height itself (its default).
xdotool windowmove --sync "$main" 0 0 windowsize --sync "$main" 1920 1080
for _ in $(seq 1 50); do
  xdotool getwindowgeometry "$main" | grep -q 'Geometry: 1920x1080' && break
  sleep 0.1
done
xdotool getwindowgeometry "$main" | grep -q 'Geometry: 1920x1080' || fail "the main window did not take the whole screen"
sleep 2 # the first layout and redraw are over

# Sentences a typist sends, each about one screen line at the station's 36 pt:
# Japanese ones and ASCII ones (the wire is code page 932).
sentences=(
  "本日はお忙しい中、市民会館の大ホールまでお集まりいただき、誠にありがとうございます。"
  "それでは定刻になりましたので、第二回地域防災計画検討委員会を始めさせていただきます。"
  "Good afternoon, everyone. Captions of this lecture are shown on the screen in front."
  "最初に、お手元の資料が五種類そろっているかどうか、もう一度ご確認をお願いいたします。"
  "昨年度の事業報告につきまして、担当者の山田から十五分ほどお時間をいただいてご説明します。"
  "The next session starts at 2:15 pm in room 301 on the third floor of the east building."
  "皆様のご協力により、今年度は参加者数、満足度ともに目標を大きく上回ることができました。"
  "会場の後ろの方、マイクの声は聞こえていますでしょうか。聞こえにくい方は手を挙げてください。"
  "Please switch your mobile phones to silent mode and keep the exits clear at all times."
  "ここで十分間の休憩に入ります。再開は二時十五分です。お飲み物はロビーでお取りください。"
)
mkdir -p "$tmp/captions"
for i in "${!sentences[@]}"; do
  printf '%s' "${sentences[$i]}" | iconv -f UTF-8 -t CP932 >"$tmp/captions/$i"
done

ticks=$(getconf CLK_TCK)
cpu_ticks() { # utime + stime of a process, in clock ticks
  local stat
  stat=$(cat "/proc/$1/stat")
  stat=${stat##*) } # fields after the command name, which may hold spaces
  read -r -a f <<<"$stat"
  echo $((f[11] + f[12])) # fields 14 and 15 of the whole line
}

# The feeder: one caption a second from another process, the first at once.
feed() {
  local start
  start=$(date +%s%N)
  for k in $(seq 0 $((seconds - 1))); do
    local due=$((start + k * 1000000000)) now
    now=$(date +%s%N)
    [ "$now" -lt "$due" ] && sleep "$(printf '0.%09d' $((due - now)))"
    cat "$tmp/captions/$((k % ${#sentences[@]}))" >/dev/udp/127.0.0.1/6711 || true
  done
}

# A screen full of lines first, as all day long, and the scroll at rest.
for k in $(seq 0 23); do
  cat "$tmp/captions/$((k % ${#sentences[@]}))" >/dev/udp/127.0.0.1/6711
  sleep 0.2
done
sleep 15

station_before=$(cpu_ticks "$station_pid")
x_before=$(cpu_ticks "$xvfb_pid")
wall_before=$(date +%s%N)
feed &
feeder_pid=$!

# Halfway, with lines on their way up the screen.
sleep "$((seconds / 2))"
shot="$build/display_cpu.png"
import -window root "$shot" 2>/dev/null || fail "no screenshot"
left=$((wall_before + seconds * 1000000000 - $(date +%s%N)))
[ "$left" -gt 0 ] && sleep "$(printf '%d.%09d' $((left / 1000000000)) $((left % 1000000000)))"

station_after=$(cpu_ticks "$station_pid")
x_after=$(cpu_ticks "$xvfb_pid")
wall_after=$(date +%s%N)
wait "$feeder_pid" || true
feeder_pid=""

# The smooth screen is the upper part of the window: its pixels must hold text
# (many shades of the antialiased glyphs, not one background colour).
shades=$(identify -format '%k' "${shot}[1920x600+0+0]")
[ "$shades" -gt 16 ] || fail "the smooth screen shows no text ($shades colours; see $shot)"

wall_ns=$((wall_after - wall_before))
percent() { # ticks over the window, as per cent of one core
  awk -v t="$1" -v hz="$ticks" -v ns="$wall_ns" 'BEGIN { printf "%.1f", 100 * t / hz / (ns / 1e9) }'
}
printf 'station: %s %% of a core, X server: %s %% of a core over %.1f s, %d captions\n' \
  "$(percent $((station_after - station_before)))" "$(percent $((x_after - x_before)))" \
  "$(awk -v ns="$wall_ns" 'BEGIN { print ns / 1e9 }')" "$seconds"
echo "(load average before the end: $(cut -d' ' -f1-3 /proc/loadavg); screenshot: $shot)"
