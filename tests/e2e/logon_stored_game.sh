#!/usr/bin/env bash
# Logon with a stored executable asks nothing: the game starts at once and the
# launcher quits four seconds after the click.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

login="bob"
write_file "$profiles/$login.usr" "bob's profile"
store_stub_game

start_display
start_launcher
login_window=$(wait_for_window "Tervix Launcher") || fail "no login window appeared"
click_control "$login_window" 148 60 70 199 22
type_text "$login"
click_control "$login_window" 148 277 70 92 22
clicked=$last_click

poll 3 test -s "$work/game-started" || fail "the game did not start"
[ -z "$(windows_named "Select Tervix executable")" ] || fail "an open-file dialog was shown"
expect_content "$profiles/$login-backup.usr" "bob's profile"
expect_launcher_exit 12 0
waited=$(elapsed "$clicked" "$(cat "$work/launcher.ended")")
between "$waited" 3.95 9 || fail "the launcher quit $waited s after the click, expected about 4 s"
expect_content "$settings/PrefExecutable" "$game"
echo "launcher quit $waited s after the click"
