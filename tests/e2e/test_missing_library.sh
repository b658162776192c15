#!/usr/bin/env bash
# Without its card library the program says so and ends, writing no file.
# usage: test_missing_library.sh PROGRAM
source "$(dirname "$0")/harness.sh"
PROGRAM=$1
ARTIFACTS=${E2E_ARTIFACTS:-}

e2e_setup
mkdir -p "$E2E_DIR/bin"
cp "$PROGRAM" "$E2E_DIR/bin/vespintide"
e2e_start "$E2E_DIR/bin/vespintide"
e2e_wait_window '^Vespintide$'
sleep 0.3
e2e_screenshot "$E2E_DIR/message.png"
[ -n "$ARTIFACTS" ] && mkdir -p "$ARTIFACTS" && cp "$E2E_DIR/message.png" "$ARTIFACTS/missing-library.png"

e2e_key Return
e2e_wait_exit
[ "$APP_STATUS" != 0 ] || e2e_fail "the program ended as if all was well"
files=$(e2e_files)
[ -z "$files" ] || e2e_fail "files were written: $files"
echo "PASS"
