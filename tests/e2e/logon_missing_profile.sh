#!/usr/bin/env bash
# Logon with a login that has no profile shows the message box and changes no
# file; the launcher keeps running until Ctrl+Q.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

write_file "$profiles/alice.usr" "alice's profile"
write_file "$profiles/nobody-backup.usr" "a backup without a profile"
write_file "$settings/PrefLogin" "alice"
before=$(disk_snapshot)

start_display
start_launcher
login_window=$(wait_for_window "Tervix Launcher") || fail "no login window appeared"
click_control "$login_window" 148 60 70 199 22
press_keys ctrl+a
type_text "nobody"
known=$(launcher_windows | tr "\n" " ")
click_control "$login_window" 148 277 70 92 22

message_box=$(poll 10 new_launcher_window "$known") || fail "no message box appeared"
screenshot message-box
echo "message box window $message_box, title '$(xdotool getwindowname "$message_box")'," \
  "size $(window_size "$message_box")"
expect_launcher_running
[ -z "$(windows_named "Select Tervix executable")" ] || fail "an open-file dialog was shown"

focus_window "$message_box"
press_keys Return
poll 5 window_is_gone "$message_box" || fail "the message box did not close on Return"
window_is_visible "$login_window" || fail "the login window went away"
expect_launcher_running
after=$(disk_snapshot)
[ "$before" = "$after" ] || fail "files changed: $(diff <(echo "$before") <(echo "$after"))"

focus_window "$login_window"
press_keys ctrl+q
expect_launcher_exit 5 0
[ "$before" = "$(disk_snapshot)" ] || fail "files changed at quit"
