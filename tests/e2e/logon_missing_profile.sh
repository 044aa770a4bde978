#!/usr/bin/env bash
# Logon with a login that has no profile shows the message box and changes no
# file; the launcher keeps running until Ctrl+Q.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

write_file "$profiles/alice.usr" "alice's profile"
write_file "$profiles/nobody-backup.usr" "a backup without a profile"
write_file "$settings/PrefLogin" "alice"
before=$(disk_snapshot)

start_at_login
click_login_field
press_keys ctrl+a
type_text "nobody"
message_box=$(new_window_after click_logon) || fail "no message box appeared"
screenshot message-box
expect_launcher_running
[ -z "$(windows_named "Select Tervix executable")" ] || fail "an open-file dialog was shown"

close_box "$message_box"
window_is_visible "$login_window" || fail "the login window went away"
expect_launcher_running
after=$(disk_snapshot)
[ "$before" = "$after" ] || fail "files changed: $(diff <(echo "$before") <(echo "$after"))"

quit_from "$login_window"
[ "$before" = "$(disk_snapshot)" ] || fail "files changed at quit"
