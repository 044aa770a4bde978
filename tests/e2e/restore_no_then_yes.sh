#!/usr/bin/env bash
# "Restore", then "No": nothing changes on disk and a new login window appears
# four seconds later. "Restore" again, then "Yes": the backup of the stored
# login, not the one typed, is put back, the replaced profile is kept as the
# trashed copy, and a new login window appears six seconds later.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

write_file "$settings/PrefLogin" "carol"
write_file "$profiles/carol.usr" "current progress"
write_file "$profiles/carol-backup.usr" "saved progress"
write_file "$profiles/dave.usr" "another player"
before=$(disk_snapshot)

# Presses "Restore", then the restore window's button at design left $1, and
# waits for the login window to come back about $2 seconds later.
restore_and_press() {
  click_restore
  restore_window=$(wait_for_window "Tervix Launcher" "$login_window") ||
    fail "no restore window appeared"
  poll 5 window_is_gone "$login_window" || fail "the login window stayed open"
  click_control "$restore_window" 288 "$1" 246 117 22
  local pressed=$last_click
  login_window=$(wait_for_window "Tervix Launcher" "$restore_window" 12) ||
    fail "no login window came back"
  expect_about "$2" "$(elapsed "$pressed")" "the login window came back"
  window_is_gone "$restore_window" || fail "the restore window stayed open"
}

start_at_login
restore_and_press 65 4
[ "$before" = "$(disk_snapshot)" ] || fail "files changed after No"

click_login_field
press_keys ctrl+a
type_text "dave"
restore_and_press 205 6
expect_content "$profiles/carol.usr" "saved progress"
expect_content "$profiles/carol-backup.usr" "saved progress"
expect_content "$profiles/carol-trashed.usr" "current progress"
expect_content "$profiles/dave.usr" "another player"
[ "$(find "$profiles" -type f | wc -l)" = 4 ] || fail "the profile folder holds: $(ls -A "$profiles")"
focus_window "$login_window"
press_keys ctrl+q
expect_launcher_exit 5 0
