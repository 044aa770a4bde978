#!/usr/bin/env bash
# Logon where the profile folder's file system is full: a message box comes up
# before the game starts, both profile files stay as they were and no
# temporary file is left; once the box is closed the game starts and the
# launcher quits four seconds later. The full file system is a small tmpfs in
# a mount namespace of the case's own, so mounting needs the privilege to do
# so; where it is missing the case is skipped (exit 77).
set -euo pipefail
if [ -z "${TERVIX_E2E_OWN_MOUNTS:-}" ]; then
  if ! unshare --mount --propagation private true 2>/dev/null; then
    echo "SKIP: no mount namespace can be made here"
    exit 77
  fi
  TERVIX_E2E_OWN_MOUNTS=1 exec unshare --mount --propagation private bash "$0" "$@"
fi
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

mkdir -p "$profiles"
if ! mount -t tmpfs -o size=64k tervix-full "$profiles" 2>"$work/mount.log"; then
  echo "SKIP: no tmpfs can be mounted here: $(cat "$work/mount.log")"
  exit 77
fi
mounted=$profiles
profile="bob's profile: level 12, three ships"
old_backup="bob's backup from last week"
write_file "$profiles/bob.usr" "$profile"
write_file "$profiles/bob-backup.usr" "$old_backup"
dd if=/dev/zero of="$profiles/filler" bs=4k 2>/dev/null || true
if printf x >"$profiles/probe" 2>/dev/null; then
  fail "the profile folder's file system is not full"
fi
rm -f "$profiles/probe"
store_stub_game

start_at_login
click_login_field
type_text "bob"
message_box=$(new_window_after click_logon) || fail "no message box appeared"
screenshot backup-failed
expect_launcher_running
[ ! -e "$work/game-started" ] || fail "the game started before the message box was closed"
expect_content "$profiles/bob.usr" "$profile"
expect_content "$profiles/bob-backup.usr" "$old_backup"
left=$(find "$profiles" -mindepth 1 -printf "%f\n" | sort | tr "\n" " ")
[ "$left" = "bob-backup.usr bob.usr filler " ] || fail "the profile folder holds: $left"

close_box "$message_box"
poll 3 test -s "$work/game-started" || fail "the game did not start once the box was closed"
expect_quit_4s_after "$box_closed"
expect_content "$profiles/bob-backup.usr" "$old_backup"
