#!/usr/bin/env bash
# "Yes" puts back the backup of the stored login, not the typed one.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

write_file "$settings/PrefLogin" "carol"
write_file "$profiles/carol.usr" "current progress"
write_file "$profiles/carol-backup.usr" "saved progress"
write_file "$profiles/dave.usr" "another player"

start_at_login
click_login_field
press_keys ctrl+a
type_text "dave"
click_restore
restore_window=$(wait_for_window "Tervix Launcher" "$login_window") || fail "no restore window appeared"
# The login window goes first, so that it cannot pass for the one that comes back.
poll 5 window_is_gone "$login_window" || fail "the login window stayed open"
click_control "$restore_window" 288 205 246 117 22
login_window=$(wait_for_window "Tervix Launcher" "$restore_window" 12) || fail "no login window came back"
expect_about 6 "$(elapsed "$last_click")" "the login window came back"

expect_content "$profiles/carol.usr" "saved progress"
expect_content "$profiles/carol-backup.usr" "saved progress"
expect_content "$profiles/carol-trashed.usr" "current progress"
expect_content "$profiles/dave.usr" "another player"
[ "$(find "$profiles" -type f | wc -l)" = 4 ] || fail "the profile folder holds: $(ls -A "$profiles")"
focus_window "$login_window"
press_keys ctrl+q
expect_launcher_exit 5 0
