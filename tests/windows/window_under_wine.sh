#!/usr/bin/env bash
# velkor.exe, the window built for Windows, under Wine on a virtual display, in a Wine desktop of
# its own (which maximizes windows as Windows does):
#  - `velkor.exe --screenshot --maximized` on a generated session opens maximized, reads frame 1
#    at the maximized picture's width, shows the counts that velkor-count.exe gives for that frame
#    at that width, and its whole count equals velkor-count.exe's (and the Linux build's);
#  - the picture's strokes equal the Linux build's drawing of the same frame, pixel for pixel;
#  - the settings land in Wine's registry under HKCU\Kest Registry\Kest, and opening writes only
#    the remembered folder there;
#  - a recording whose name has non-ASCII letters opens.
#   window_under_wine.sh LINUX_BUILD WINDOWS_BUILD     (Wine's settings come from the caller)
set -euo pipefail
linux=$1
windows=$2
source "$(dirname "$0")/test_frame.sh"
windowsName() { winepath -w "$1"; }

start_display 140 199 1600x1000
# Nothing of an earlier run in the registry: the settings test reads what this run writes.
wine reg delete 'HKCU\Kest Registry' /f >/dev/null 2>&1 || true

"$linux/tools/velkor-synth/velkor-synth" --seed 11 --lines 30000 --density 3 \
    --channel 0:250:2 261:511:4 --out "$work/session" >/dev/null

# The window, maximized on a 1600 x 1000 Windows desktop.
wine explorer /desktop=velkor-test,1600x1000 "$windows/app/velkor.exe" --screenshot "$(windowsName "$work/shot.png")" --maximized \
    "$(windowsName "$work/session.blb")" 2>&1 | tr -d '\r' >"$work/window.txt" || true
cat "$work/window.txt"
picture=$(sed -n 's/.*picture at \([0-9]*\),\([0-9]*\) size \([0-9]*\)x\([0-9]*\).*/\1 \2 \3 \4/p' \
    "$work/window.txt")
window=$(sed -n 's/.*saved .*: window \([0-9]*\)x\([0-9]*\),.*/\1 \2/p' "$work/window.txt")
width=$(sed -n 's/.*read with frames of \([0-9]*\) lines.*/\1/p' "$work/window.txt")
if [ -z "$picture" ] || [ -z "$width" ] || [ -z "$window" ]; then
    fail "velkor.exe --screenshot did not save the window"
    exit 1
fi
read -r px py pw ph <<<"$picture"
read -r ww wh <<<"$window"
# Maximized on a 1600 x 1000 screen: as wide as the screen, nearly as tall (the title bar).
[ "$ww" -ge 1590 ] && [ "$wh" -ge 900 ] || fail "the window is ${ww}x${wh}, not maximized"
[ "$width" = "$pw" ] || fail "frame 1 read with frames of $width lines, the picture is $pw wide"

# The counts of frame 1, and the whole count, as velkor-count.exe gives them at that width.
counters=$(sed -n 's/^velkor: counters //p' "$work/window.txt")
whole=$(sed -n 's/^velkor: whole count //p' "$work/window.txt")
# The replay's totals: the summary's first "totals" (the recorded ones follow it).
totals() { grep -o '"totals": \[[0-9, ]*\]' | head -1 | sed 's/.*\[\(.*\)\]/\1/' | tr -d ','; }
frame1=$(wine "$windows/tools/velkor-count/velkor-count.exe" --frame-width "$width" --from 1 --to 1 \
    --json "$(windowsName "$work/session.blb")" | tr -d '\r' | totals)
all=$(wine "$windows/tools/velkor-count/velkor-count.exe" --frame-width "$width" \
    --json "$(windowsName "$work/session.blb")" | tr -d '\r' | totals)
all_linux=$("$linux/tools/velkor-count/velkor-count" --frame-width "$width" --json \
    "$work/session.blb" | totals)
[ -n "$frame1" ] && [ "$counters" = "$frame1" ] ||
    fail "frame 1: the window shows '$counters', velkor-count.exe '$frame1'"
[ -n "$all" ] && [ "$whole" = "$all" ] ||
    fail "whole count: the window found '$whole', velkor-count.exe '$all'"
[ "$all" = "$all_linux" ] || fail "whole count: velkor-count.exe '$all', on Linux '$all_linux'"

# The strokes, pixel for pixel.
"$linux/tests/ui/ui_picture_compare" "$work/session.blb" "$work/shot.png" "$px" "$py" "$pw" "$ph" ||
    fail "the picture differs from the Linux build's drawing of frame 1"

# Opening wrote the remembered folder, and nothing else, into the registry.
wine reg query 'HKCU\Kest Registry\Kest' >"$work/registry.txt" 2>&1 || true
tr -d '\r' <"$work/registry.txt" >"$work/registry.clean"
cat "$work/registry.clean"
values=$(grep -c 'REG_' "$work/registry.clean" || true)
folder=$(windowsName "$work")
grep -qiF "$folder" "$work/registry.clean" ||
    fail "the remembered folder $folder is not in HKCU\\Kest Registry\\Kest"
[ "$values" = 1 ] || fail "opening wrote $values values into the registry, not only the folder"

# A name with letters outside ASCII.
mkdir -p "$work/Fiskteljari Ævar"
"$linux/tools/velkor-synth/velkor-synth" --seed 2 --lines 5000 \
    --out "$work/Fiskteljari Ævar/lota ñø 3" >/dev/null
wine "$windows/app/velkor.exe" --screenshot "$(windowsName "$work/ascii-less.png")" \
    "$(windowsName "$work/Fiskteljari Ævar/lota ñø 3.blb")" >"$work/non-ascii.txt" 2>&1 || true
grep -q 'saved ' "$work/non-ascii.txt" && [ -s "$work/ascii-less.png" ] || {
    cat "$work/non-ascii.txt"
    fail "a recording with non-ASCII letters in its name did not open"
}

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "ok: velkor.exe maximized ${ww}x${wh}, frames of $width lines, counts $counters, whole count $whole"
