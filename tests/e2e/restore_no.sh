#!/usr/bin/env bash
# "Restore", then "No": nothing changes on disk and a new login window appears
# four seconds later.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

write_file "$settings/PrefLogin" "carol"
write_file "$profiles/carol.usr" "current progress"
write_file "$profiles/carol-backup.usr" "saved progress"
before=$(disk_snapshot)

start_at_login
click_restore
restore_window=$(wait_for_window "Tervix Launcher" "$login_window") ||
  fail "no restore window appeared"
click_control "$restore_window" 288 65 246 117 22
pressed=$last_click
screenshot restore-no-pressed

new_login=$(wait_for_window "Tervix Launcher" "$restore_window" 10) ||
  fail "no login window came back"
expect_about 4 "$(elapsed "$pressed")" "the login window came back"
window_is_gone "$restore_window" || fail "the restore window stayed open"
after=$(disk_snapshot)
[ "$before" = "$after" ] || fail "files changed: $(diff <(echo "$before") <(echo "$after"))"
expect_no_file "$profiles/carol-trashed.usr"

quit_from "$new_login"
