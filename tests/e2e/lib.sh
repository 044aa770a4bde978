# Shared steps of the end-to-end cases, sourced by their scripts; a case's first argument is the
# launcher binary, with tervix.rcc beside it.
# shellcheck shell=bash disable=SC2034
set -euo pipefail

launcher_binary=$(realpath "$1")
work=$(mktemp -d "${TMPDIR:-/tmp}/tervix-e2e.XXXXXX")
export HOME="$work/home"
export XDG_CONFIG_HOME="$work/config"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
here=$(dirname "$(realpath "${BASH_SOURCE[0]}")")
export LSAN_OPTIONS="suppressions=$here/../lsan.supp"
profiles="$HOME/Library/Application Support/Tervix"
settings="$XDG_CONFIG_HOME/net.tervix.launcher.settings"
xvfb_pid=""
launcher_pid=""
launcher_runner=""

fail() {
  echo "FAIL: $*" >&2
  if [ -s "$work/launcher.log" ]; then
    echo "--- launcher output ---" >&2
    cat "$work/launcher.log" >&2
  fi
  exit 1
}

clean_up() {
  local status=$?
  [ -z "$launcher_pid" ] || kill "$launcher_pid" 2>/dev/null || true
  [ -z "$launcher_runner" ] || wait "$launcher_runner" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; } || true
  rm -rf "$work"
  exit "$status"
}
trap clean_up EXIT

# Seconds from $1 to $2 (or to now), with millisecond precision.
elapsed() { awk -v a="$1" -v b="${2:-$EPOCHREALTIME}" 'BEGIN { printf "%.3f", b - a }'; }
# True when the number $1 lies between $2 and $3.
between() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v >= lo && v <= hi) }'; }

# Runs "$@" every tenth of a second until it succeeds or $1 seconds pass.
poll() {
  local deadline
  deadline=$(awk -v t="$EPOCHREALTIME" -v l="$1" 'BEGIN { printf "%.3f", t + l }')
  shift
  until "$@"; do
    between "$EPOCHREALTIME" 0 "$deadline" || return 1
    sleep 0.1
  done
}

# Waits up to $1 seconds for the launcher to end and checks its status is $2.
expect_launcher_exit() {
  poll "$1" test -s "$work/launcher.status" || fail "the launcher still runs $1 s later"
  local status
  status=$(cat "$work/launcher.status")
  [ "$status" = "$2" ] || fail "the launcher exited with status $status, expected $2"
}

# The visible windows whose whole title is $1, one id a line.
windows_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true; }
new_window_named() { windows_named "$1" | grep -vxm1 "${2:-none}"; }

# The first visible window titled $1 other than $2, waited for up to $3 seconds (default 10).
wait_for_window() { poll "${3:-10}" new_window_named "$1" "${2:-}"; }

window_is_gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

# Gives the keyboard focus to a window; there is no window manager to do it.
focus_window() {
  timeout 5 xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
}

# Clicks the middle of the control at design x y w h in window $1 of design height $2. A menu bar
# sits above the design area, so controls are placed from the bottom of the window.
last_click=""
click_control() {
  local window=$1 design_height=$2 x=$3 y=$4 w=$5 h=$6 HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$window" | grep '^HEIGHT=')"
  local top=$((HEIGHT - design_height))
  focus_window "$window"
  last_click=$EPOCHREALTIME
  xdotool mousemove --window "$window" $((x + w / 2)) $((top + y + h / 2)) click 1
}

type_text() { xdotool type --delay 20 "$1"; }
press_keys() { xdotool key "$@"; }

write_file() {
  mkdir -p "$(dirname "$1")"
  printf '%s' "$2" >"$1"
}

expect_content() {
  [ -f "$1" ] || fail "$1 does not exist"
  cmp -s "$1" <(printf "%s" "$2") || fail "$1 holds '$(cat "$1")', expected '$2'"
}

# The launcher's exit status and end time land in $work/launcher.status and launcher.ended.
login_window=""
start_at_login() {
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  poll 10 grep -q '[0-9]' "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
  export DISPLAY
  (
    cd "$work"
    set +e
    "$launcher_binary" >>"$work/launcher.log" 2>&1 &
    echo $! >"$work/launcher.pid"
    wait $!
    status=$?
    echo "$EPOCHREALTIME" >"$work/launcher.ended"
    echo "$status" >"$work/launcher.status"
  ) &
  launcher_runner=$!
  poll 5 test -s "$work/launcher.pid" || fail "the launcher did not start"
  launcher_pid=$(cat "$work/launcher.pid")
  login_window=$(wait_for_window "Tervix Launcher") || fail "no login window appeared"
}

click_login_field() { click_control "$login_window" 148 60 70 199 22; }
click_logon() { click_control "$login_window" 148 277 70 92 22; }
click_restore() { click_control "$login_window" 148 277 102 92 22; }

# Fails unless $2 seconds is about $1: not less, and at most five more on a busy machine.
expect_about() {
  between "$2" "$(($1 - 1)).95" $(($1 + 5)) || fail "$3 after $2 s, expected about $1 s"
  echo "$3 after $2 s"
}
