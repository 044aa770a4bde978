#!/usr/bin/env bash
# Logon with a stored executable asks nothing: the game starts at once and the
# launcher quits four seconds after the click.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

login="bob"
write_file "$profiles/$login.usr" "bob's profile"
store_stub_game

start_at_login
click_login_field
type_text "$login"
click_logon
clicked=$last_click

poll 3 test -s "$work/game-started" || fail "the game did not start"
[ -z "$(windows_named "Select Tervix executable")" ] || fail "an open-file dialog was shown"
expect_content "$profiles/$login-backup.usr" "bob's profile"
expect_quit_4s_after "$clicked"
expect_content "$settings/PrefExecutable" "$game"
