#!/usr/bin/env bash
# Ctrl+, opens the preferences window; what is typed into a field is stored
# when the focus moves to the other field. A path typed next stays unstored
# through "Get" cancelled in the real file dialog, and is stored when "Ok" is
# clicked with the mouse. A login typed into a new preferences window is
# stored when Ctrl+Q quits straight from that field, with status 0.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

start_at_login
focus_window "$login_window"
press_keys ctrl+comma
options=$(wait_for_window "Untitled") || fail "no preferences window appeared"
screenshot preferences-window

click_control "$options" 188 20 33 234 22
press_keys ctrl+a
type_text "erin"
click_control "$options" 188 21 86 185 23
poll 5 test -e "$settings/PrefLogin" || fail "the login was not stored when the focus moved"
expect_content "$settings/PrefLogin" "erin"

press_keys ctrl+a
type_text "/opt/tervix/game"
click_control "$options" 188 20 33 234 22
poll 5 test -e "$settings/PrefExecutable" || fail "the path was not stored when the focus moved"
expect_content "$settings/PrefExecutable" "/opt/tervix/game"
expect_content "$settings/PrefLogin" "erin"

click_control "$options" 188 21 86 185 23
press_keys ctrl+a
type_text "/opt/tervix/other"
click_control "$options" 188 212 86 42 22
dialog=$(wait_for_window "Select Tervix executable") || fail "no open-file dialog appeared"
focus_window "$dialog"
press_keys Escape
poll 5 window_is_gone "$dialog" || fail "the open-file dialog stayed open"
expect_content "$settings/PrefExecutable" "/opt/tervix/game"

click_control "$options" 188 194 146 60 22
poll 5 window_is_gone "$options" || fail "Ok did not close the preferences window"
expect_content "$settings/PrefExecutable" "/opt/tervix/other"

focus_window "$login_window"
press_keys ctrl+comma
options=$(wait_for_window "Untitled") || fail "no new preferences window appeared"
click_control "$options" 188 20 33 234 22
press_keys ctrl+a
type_text "frank"
press_keys ctrl+q
expect_launcher_exit 5 0
expect_content "$settings/PrefLogin" "frank"
expect_content "$settings/PrefExecutable" "/opt/tervix/other"
