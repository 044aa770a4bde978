#!/usr/bin/env bash
# The game chosen in the open-file dialog is started and outlives the launcher.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

login="alice"
profile_content=$'level 7\nscore 1234\n'
write_file "$profiles/$login.usr" "$profile_content"
write_file "$profiles/$login-backup.usr" "an old backup"
game="$work/games/Tervix Game/tervix-game"
mkdir -p "$(dirname "$game")"
# The game finds its folder through the HOME it inherits.
cat >"$game" <<'GAME'
#!/bin/sh
printf '%s' "$PWD" >"$HOME/game-started"
launcher=$(cat "$HOME/../launcher.pid")
while kill -0 "$launcher" 2>/dev/null; do sleep 0.1; done
sleep 1
echo "alive after the launcher" >"$HOME/game-finished"
GAME
chmod +x "$game"

start_at_login

click_login_field
type_text "$login"
click_logon

dialog=$(wait_for_window "Select Tervix executable") || fail "no open-file dialog appeared"
focus_window "$dialog"
type_text "$game"
# The file-name completer may take the first Return for itself.
for _ in 1 2 3; do
  press_keys Return
  answered=$EPOCHREALTIME
  poll 2 window_is_gone "$dialog" && break
done
window_is_gone "$dialog" || fail "the open-file dialog did not take the typed path"

poll 3 test -s "$HOME/game-started" || fail "the game did not start"
expect_content "$HOME/game-started" "$(dirname "$game")"
expect_content "$profiles/$login-backup.usr" "$profile_content"
expect_content "$profiles/$login.usr" "$profile_content"
expect_content "$settings/PrefExecutable" "$game"

expect_launcher_exit 12 0
expect_about 4 "$(elapsed "$answered" "$(cat "$work/launcher.ended")")" "the launcher quit"
poll 10 test -s "$HOME/game-finished" || fail "the game did not run on after the quit"
expect_content "$HOME/game-finished" $'alive after the launcher\n'
