#!/usr/bin/env bash
# The Windows programs under Wine against the Linux build, byte for byte: velkor-synth.exe writes
# the same session files as velkor-synth for sessions of several kinds, and velkor-count.exe gives
# the same --trace output and exit status as velkor-count on each of them, counted from the .blb
# and from the .blc (unpacked first), at several frame widths.
#   same_output_as_linux.sh LINUX_BUILD WINDOWS_BUILD    (Wine's settings come from the caller)
set -euo pipefail
linux=$1
windows=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/linux" "$work/windows"

windowsName() { winepath -w "$1"; }
failures=0
fail() {
    echo "DIFFERENT: $*"
    failures=$((failures + 1))
}

# name | velkor-synth options
sessions=(
    "one-channel|--seed 1 --lines 20000"
    "three-channels|--seed 7 --lines 20000 --channel 0:170:2 171:340:4 341:511:1"
    "dense|--seed 3 --lines 20000 --density 5 --touching 0.3 --noise 5 --counter-width 1400"
    "crowded|--seed 4 --lines 12000 --density 40 --channel 0:255:3 256:511:0 --counter-width 400"
    "four-channels|--seed 5 --lines 12000 --decimal-separator , --counter-width 2100 --channel 0:120:5 121:250:2 251:380:8 381:511:9"
)
widths=(1 100 1116 2001)

for entry in "${sessions[@]}"; do
    name=${entry%%|*}
    read -ra options <<<"${entry#*|}"
    "$linux/tools/velkor-synth/velkor-synth" "${options[@]}" --compressed \
        --out "$work/linux/$name" >/dev/null
    wine "$windows/tools/velkor-synth/velkor-synth.exe" "${options[@]}" --compressed \
        --out "$(windowsName "$work/windows/$name")" >/dev/null
    for ext in blb blc mse truth.json; do
        cmp -s "$work/linux/$name.$ext" "$work/windows/$name.$ext" || fail "velkor-synth $name.$ext"
    done
    for width in "${widths[@]}"; do
        for ext in blb blc; do
            set +e
            "$linux/tools/velkor-count/velkor-count" --trace --frame-width "$width" \
                "$work/linux/$name.$ext" >"$work/linux.trace" 2>"$work/linux.err"
            linuxExit=$?
            wine "$windows/tools/velkor-count/velkor-count.exe" --trace --frame-width "$width" \
                "$(windowsName "$work/windows/$name.$ext")" >"$work/windows.trace" 2>"$work/windows.err"
            windowsExit=$?
            set -e
            [ "$linuxExit" = 0 ] || fail "velkor-count $name.$ext W=$width exits $linuxExit: $(cat "$work/linux.err")"
            [ "$linuxExit" = "$windowsExit" ] || fail "exit status $name.$ext W=$width: $linuxExit, $windowsExit"
            [ -s "$work/linux.trace" ] || fail "no trace for $name.$ext W=$width"
            cmp "$work/linux.trace" "$work/windows.trace" || fail "trace $name.$ext W=$width"
        done
    done
    # Both unpacked the .blc over the .blb.
    cmp -s "$work/linux/$name.blb" "$work/windows/$name.blb" || fail "unpacked $name.blb"
    echo "same: $name ($(wc -l <"$work/linux.trace") trace lines at W=${widths[-1]})"
done

# Exit statuses of a usage error and of a recording that cannot be counted.
for args in "--frame-width 0 x.blb" "$work/none.blb"; do
    set +e
    "$linux/tools/velkor-count/velkor-count" $args >/dev/null 2>&1
    linuxExit=$?
    wine "$windows/tools/velkor-count/velkor-count.exe" $args >/dev/null 2>&1
    windowsExit=$?
    set -e
    [ "$linuxExit" = "$windowsExit" ] || fail "exit status of '$args': $linuxExit, $windowsExit"
done

exit $((failures > 0))
