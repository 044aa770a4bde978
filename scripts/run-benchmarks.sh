#!/usr/bin/env bash
# Builds the launcher and the benchmarks in Release, runs every benchmark on a
# display of its own and prints one table. Benchmarks measure; they never pass
# or fail, and the last column only says whether a figure meets its target.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-bench"
bash "$top/scripts/install-deps.sh"
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target benchmarks >/dev/null

# The work folder lies on the build's disk, not on a memory file system, so
# that flushing files to disk costs what it costs a player.
work=$(mktemp -d "$build/bench-work.XXXXXX")
xvfb_pid=""
launcher_pid=""
clean_up() {
  [ -z "$launcher_pid" ] || kill "$launcher_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap clean_up EXIT

export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" \
  >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  grep -q '[0-9]' "$work/display" && break
  sleep 0.1
done
DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
export DISPLAY

# The CPU share of the launcher's own post-launch wait: a Logon with a stored
# executable, the launcher's CPU time read from /proc at the click and as late
# as possible before it exits.
launcher_wait_row() {
  local profiles="$HOME/Library/Application Support/Tervix"
  local settings="$XDG_CONFIG_HOME/net.tervix.launcher.settings"
  mkdir -p "$profiles" "$settings"
  printf 'bench' >"$profiles/bench.usr"
  printf '/bin/true' >"$settings/PrefExecutable"
  (cd "$work" && exec "$build/tervix-launcher" >/dev/null 2>&1) &
  launcher_pid=$!
  local window="" top
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Tervix Launcher$' 2>/dev/null | head -1) || true
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || return 0
  top=$(($(xdotool getwindowgeometry --shell "$window" | sed -n 's/^HEIGHT=//p') - 148))
  xdotool windowfocus "$window" mousemove --window "$window" 159 $((top + 81)) click 1
  xdotool type bench
  sleep 1
  cpu_ticks() { awk '$3 != "Z" { print $14 + $15 }' "/proc/$launcher_pid/stat" 2>/dev/null; }
  local first_cpu first_time last_cpu last_time sample
  first_cpu=$(cpu_ticks)
  first_time=$EPOCHREALTIME
  xdotool mousemove --window "$window" 323 $((top + 81)) click 1
  last_cpu=$first_cpu
  last_time=$first_time
  while sample=$(cpu_ticks) && [ -n "$sample" ]; do
    last_cpu=$sample
    last_time=$EPOCHREALTIME
    sleep 0.02
  done
  wait "$launcher_pid" || true
  launcher_pid=""
  awk -v c="$((last_cpu - first_cpu))" -v hz="$(getconf CLK_TCK)" -v t0="$first_time" \
    -v t1="$last_time" 'BEGIN {
      share = c / hz / (t1 - t0) * 100
      printf "CPU of the launcher from Logon to exit (%% of a core over %.2f s)", t1 - t0
      printf "\t%.2f%%\t-\t-\t< 2%%\t%s\n", share, share < 2 ? "met" : "MISSED"
    }'
}

rows="$work/rows"
{
  "$build/bench/bench_startup" 21 "$build/tervix-launcher" "$build/bench/bench_bare_window" \
    "$build/tervix.rcc"
  "$build/bench/bench_busy_wait"
  launcher_wait_row
  "$build/bench/bench_copy" "$work/copy"
  "$build/bench/bench_pref_save" "$work/prefs"
  "$build/bench/bench_restore_open" "$work/restore" "$build/tervix.rcc"
} >"$rows"

awk -F '\t' '
  BEGIN { printf "%-78s %12s %12s %9s %10s  %s\n", "measure", "tervix", "baseline", "ratio",
            "target", "verdict" }
  { printf "%-78s %12s %12s %9s %10s  %s\n", $1, $2, $3, $4, $5, $6 }' "$rows"
