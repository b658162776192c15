#!/usr/bin/env bash
# A settings write that cannot reach the disk says "Unable to write to
# <path>" and leaves the file exactly as it was: on a full disk, on a
# read-only file and in a read-only folder.
# usage: test_write_faults.sh SETTINGS_WRITE
set -euo pipefail
WRITER=$(readlink -f "$1")
WORK=$(mktemp -d "${TMPDIR:-/tmp}/vespintide-faults.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
ORIGINAL=$'[Options]\nSound=1\n; a comment\n[TopTen]\nLastPlayer=Ann\n'

fail() { echo "FAIL: $*" >&2; exit 1; }

# expect_refused DIR [RUNNER...]: a write into DIR/Vespin.ini must fail and
# leave the folder as it was.
expect_refused() {
    local dir=$1 status=0 before after
    shift
    before=$(cd "$dir" && ls -A && { [ -f Vespin.ini ] && md5sum Vespin.ini || true; })
    "$@" "$WRITER" "$dir/Vespin.ini" TopTen LastPlayer "$(head -c 40000 /dev/zero | tr '\0' 'x')" \
        2>"$WORK/err" || status=$?
    after=$(cd "$dir" && ls -A && { [ -f Vespin.ini ] && md5sum Vespin.ini || true; })
    [ "$status" = 1 ] || fail "$CASE: the write ended with status $status"
    grep -qx "Unable to write to $dir/Vespin.ini" "$WORK/err" || fail "$CASE: said $(cat "$WORK/err")"
    [ "$before" = "$after" ] || fail "$CASE: the folder changed: $before / $after"
    echo "ok: $CASE"
}

# A full disk: a small file system of our own, filled up.
if [ "$(id -u)" = 0 ]; then namespace=(unshare -m); else namespace=(unshare -rm); fi
if "${namespace[@]}" true 2>/dev/null; then
    mkdir -p "$WORK/full"
    CASE="full disk" "${namespace[@]}" bash -c '
        set -e
        mount -t tmpfs -o size=64k tmpfs "$1"
        printf "%s" "$2" > "$1/Vespin.ini"
        dd if=/dev/zero of="$1/filler" bs=1k count=1000 2>/dev/null || true
        source "$3"
        expect_refused "$1"
    ' _ "$WORK/full" "$ORIGINAL" <(declare -f expect_refused fail; echo "WRITER=$WRITER WORK=$WORK")
else
    echo "skipped: full disk (no mount namespace here)"
fi

# Read-only file and folder. Root writes anywhere, so as root these run as
# an unprivileged user.
runner=()
owner=$(id -un)
if [ "$(id -u)" = 0 ]; then
    if command -v setpriv >/dev/null && id nobody >/dev/null 2>&1; then
        runner=(setpriv --reuid=nobody --regid="$(id -gn nobody)" --clear-groups)
        owner=nobody
        chmod 755 "$WORK"
    else
        echo "skipped: read-only cases (no unprivileged user)"
        exit 0
    fi
fi

mkdir -p "$WORK/rofile"
printf "%s" "$ORIGINAL" >"$WORK/rofile/Vespin.ini"
chown -R "$owner" "$WORK/rofile"
chmod 444 "$WORK/rofile/Vespin.ini"
CASE="read-only file" expect_refused "$WORK/rofile" "${runner[@]}"

mkdir -p "$WORK/rodir"
printf "%s" "$ORIGINAL" >"$WORK/rodir/Vespin.ini"
chown -R "$owner" "$WORK/rodir"
chmod 555 "$WORK/rodir"
CASE="read-only folder" expect_refused "$WORK/rodir" "${runner[@]}"

mkdir -p "$WORK/rodir-new"
chown "$owner" "$WORK/rodir-new"
chmod 555 "$WORK/rodir-new"
CASE="read-only folder, no file yet" expect_refused "$WORK/rodir-new" "${runner[@]}"
echo "PASS"
