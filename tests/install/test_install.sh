#!/usr/bin/env bash
# `cmake --install` lays out exactly the files of an installed Vespintide, and
# what the desktop reads from them passes the desktop's own validators.
# usage: test_install.sh CMAKE BUILD_DIR
set -euo pipefail
CMAKE=$1
BUILD=$2
ID=org.vespintide.Vespintide
ICON_SIZES=(16 22 24 32 48 64 128 256)

fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$(mktemp -d "${TMPDIR:-/tmp}/vespintide-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
"$CMAKE" --install "$BUILD" --prefix "$prefix" >"$prefix.log" 2>&1 || { cat "$prefix.log" >&2; rm -f "$prefix.log"; fail "cmake --install failed"; }
rm -f "$prefix.log"

# Every file and nothing else: no test, benchmark or build tool slips in.
expected=$(
    {
        echo bin/vespintide
        echo lib/vespintide/libVespin.so
        echo lib/vespintide/libVespinHelp.so
        echo lib/vespintide/libVespinSound.so
        for name in TIPS.TXT Readme.txt help/vespintide.qhc help/vespintide.qch \
            Shuffle.wav Fart.wav Dealcard.wav Abort.wav MoveCard.wav Undo.wav WinGame.wav Clap.wav Select.wav Ghost.wav; do
            echo "share/vespintide/$name"
        done
        echo "share/applications/$ID.desktop"
        echo "share/metainfo/$ID.metainfo.xml"
        echo "share/icons/hicolor/scalable/apps/$ID.svg"
        for size in "${ICON_SIZES[@]}"; do echo "share/icons/hicolor/${size}x${size}/apps/$ID.png"; done
        echo share/man/man6/vespintide.6
    } | sort
)
actual=$(cd "$prefix" && find . -mindepth 1 ! -type d -printf '%P\n' | sort)
if [ "$actual" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    fail "the installed files differ from the expected ones (< expected, > installed)"
fi
echo "installed $(echo "$actual" | wc -l) files"

[ -x "$prefix/bin/vespintide" ] || fail "the program is not executable"
# The private library directory is on the program's search path, relative to
# the program, and nothing of the build tree is.
runpath=$(readelf -d "$prefix/bin/vespintide" | sed -n 's/.*(\(RPATH\|RUNPATH\)).*\[\(.*\)\]/\2/p')
[ "$runpath" = '$ORIGIN/../lib/vespintide' ] || fail "the program's RUNPATH is \"$runpath\""

desktop-file-validate "$prefix/share/applications/$ID.desktop" || fail "desktop-file-validate"
echo "desktop-file-validate: passed"
grep -qx "Icon=$ID" "$prefix/share/applications/$ID.desktop" || fail "the desktop file names another icon"
grep -qx "Exec=vespintide" "$prefix/share/applications/$ID.desktop" || fail "the desktop file starts another program"

appstreamcli validate --no-net --strict "$prefix/share/metainfo/$ID.metainfo.xml" || fail "appstreamcli validate"
grep -q "<launchable type=\"desktop-id\">$ID.desktop</launchable>" "$prefix/share/metainfo/$ID.metainfo.xml" \
    || fail "the metainfo launches another desktop file"

# The manual page, as man shows it with all of groff's warnings on: none may appear.
man_page=$prefix/share/man/man6/vespintide.6
warnings=$(MANWIDTH=80 man --warnings=w -l "$man_page" 2>&1 >"$prefix/man.txt") || fail "man -l failed: $warnings"
[ -z "$warnings" ] || fail "the manual page renders with warnings: $warnings"
for section in NAME SYNOPSIS DESCRIPTION FILES ENVIRONMENT "SEE ALSO"; do
    grep -qx "$section" "$prefix/man.txt" || fail "the manual page has no $section section"
done
grep -q "VESPINTIDE(6)" "$prefix/man.txt" || fail "the manual page is not in section 6"
echo "man: rendered without warnings"

for size in "${ICON_SIZES[@]}"; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/$ID.png
    got=$(identify -format '%m %wx%h' "$png")
    [ "$got" = "PNG ${size}x${size}" ] || fail "$png is $got"
done
# Drawn, not blank: the 48 pixel icon has opaque pixels and transparent corners.
png48=$prefix/share/icons/hicolor/48x48/apps/$ID.png
opaque=$(convert "$png48" -alpha extract -format '%[fx:mean]' info:)
corner=$(convert "$png48" -format '%[fx:int(255*p{0,0}.a)]' info:)
awk -v m="$opaque" 'BEGIN { exit !(m > 0.7) }' || fail "the 48 pixel icon is mostly empty (alpha mean $opaque)"
[ "$corner" = 0 ] || fail "the icon's corner is not transparent"
echo "icons: ${ICON_SIZES[*]} px"
echo PASS
