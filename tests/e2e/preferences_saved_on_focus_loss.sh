#!/usr/bin/env bash
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

start_at_login
focus_window "$login_window"
press_keys ctrl+comma
options=$(wait_for_window "Untitled") || fail "no preferences window appeared"

click_control "$options" 188 20 33 234 22
press_keys ctrl+a
type_text "erin"
click_control "$options" 188 21 86 185 23
poll 5 test -e "$settings/PrefLogin" || fail "the login was not stored when the focus moved"
expect_content "$settings/PrefLogin" "erin"

press_keys ctrl+a
type_text "/opt/tervix/game"
press_keys ctrl+q
expect_launcher_exit 5 0
expect_content "$settings/PrefExecutable" "/opt/tervix/game"
expect_content "$settings/PrefLogin" "erin"
