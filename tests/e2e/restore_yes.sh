#!/usr/bin/env bash
# "Restore", then "Yes": the backup of the stored login is put back, the
# replaced profile is kept as the trashed copy, and a new login window appears
# six seconds later.
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

restore_window=$(wait_for_window "Tervix Launcher" "$login_window") ||
  fail "no restore window appeared"
poll 5 window_is_gone "$login_window" || fail "the login window stayed open"
screenshot restore-window
click_control "$restore_window" 288 205 246 117 22
pressed=$last_click

poll 3 test -e "$profiles/carol-trashed.usr" || fail "no trashed profile appeared"
screenshot restore-yes-pressed
new_login=$(wait_for_window "Tervix Launcher" "$restore_window" 12) ||
  fail "no login window came back"
expect_about 6 "$(elapsed "$pressed")" "the login window came back"
window_is_gone "$restore_window" || fail "the restore window stayed open"
screenshot restore-yes-done

expect_content "$profiles/carol.usr" "saved progress"
expect_content "$profiles/carol-backup.usr" "saved progress"
expect_content "$profiles/carol-trashed.usr" "current progress"
expect_content "$profiles/dave.usr" "another player"
expect_no_file "$profiles/dave-backup.usr"
expect_launcher_running

quit_from "$new_login"
