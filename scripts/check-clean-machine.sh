#!/usr/bin/env bash
# Proves that the two commands work on a machine that has never seen the project: makes a clean
# Debian 12 root (mmdebstrap --variant=minbase bookworm), copies a clean clone of the current commit
# into it, and runs there, as root and with nothing else prepared:
#   ./run.sh     headless: it must install, build and print the demo's counts
#   ./test.sh    the whole suite, the Windows tool suite under Wine included
# Then it lists the packages that the two commands installed into the root.
#
#   scripts/check-clean-machine.sh [--fresh]
#
# The clean root is kept as a tarball under ${VELKOR_CLEAN_ROOT_CACHE:-~/.cache/velkor} and reused
# (made again with --fresh); it is the bare minbase root, never one that has had the project's
# packages installed. Needs root, the package registry and about 3 GB in $TMPDIR. It cleans up
# (unmounts, removes the root) also when a step fails or it is interrupted.
# Takes on this 2-core machine: the root 1-2 min (a cached one 10 s), run.sh 5 min,
# test.sh 25-30 min; about 35 min in all. The Windows window is not built there: its Qt (built by
# scripts/build-qt-windows.sh, about an hour) is not in a clean root.
set -euo pipefail
cd "$(dirname "$0")/.."
project=$PWD
fresh=false
[ "${1:-}" = --fresh ] && fresh=true

if [ "$(id -u)" -ne 0 ]; then
    echo "$0: needs root (it makes and enters a root file system)" >&2
    exit 2
fi
command -v mmdebstrap >/dev/null || {
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends mmdebstrap \
        </dev/null
}

start=$SECONDS
step_start=$SECONDS
step_name=""
step() {
    [ -n "$step_name" ] && printf '%-40s %5d s\n' "$step_name" $((SECONDS - step_start))
    step_name=$1
    step_start=$SECONDS
    return 0
}

cache=${VELKOR_CLEAN_ROOT_CACHE:-$HOME/.cache/velkor}
tarball=$cache/clean-root-bookworm-minbase.tar
work=$(mktemp -d "${TMPDIR:-/tmp}/velkor-clean-root.XXXXXX")
root=$work/root
mounted=()

cleanup() {
    local status=$?
    trap - EXIT INT TERM
    # Ends what the tests left running inside (Xvfb, the Wine server), then unmounts.
    if [ -d "$root/proc" ]; then
        for pid in $(ls /proc | grep -E '^[0-9]+$'); do
            [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$root" ] && kill -9 "$pid" 2>/dev/null
        done
    fi
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount -l "${mounted[i]}" 2>/dev/null || true
    done
    rm -rf --one-file-system "$work"
    if [ "$status" -ne 0 ]; then
        echo "FAILED at: ${step_name:-start} (after $((SECONDS - start)) s)"
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

step "clean root (mmdebstrap minbase bookworm)"
mkdir -p "$cache"
if $fresh || [ ! -s "$tarball" ]; then
    rm -rf "$tarball.part"
    mmdebstrap --quiet --format=tar --variant=minbase bookworm "$tarball.part" >/dev/null 2>"$work/mmdebstrap.log" ||
        { tail -20 "$work/mmdebstrap.log"; exit 1; }
    mv "$tarball.part" "$tarball"
fi
mkdir -p "$root"
tar -C "$root" -xf "$tarball"
dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Package}\n' | sort >"$work/before"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true

step "clean clone of $(git rev-parse --short HEAD)"
git clone -q --no-hardlinks "$project" "$root/velkor"
git -C "$root/velkor" checkout -q "$(git rev-parse HEAD)"
rm -rf "$root/velkor/.git"

mount_in() { # TYPE SOURCE TARGET [OPTIONS]
    mkdir -p "$root$3"
    mount -t "$1" ${4:+-o "$4"} "$2" "$root$3"
    mounted+=("$root$3")
}
mount_in proc proc /proc
mount --rbind /dev "$root/dev" && mount --make-rslave "$root/dev" && mounted+=("$root/dev")
mount_in tmpfs tmpfs /dev/shm mode=1777
mount_in tmpfs tmpfs /tmp mode=1777,size=8g
mount_in sysfs sysfs /sys ro

inside() {
    chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        LANG=C.UTF-8 TERM=dumb "$@"
}

step "./run.sh (headless)"
inside /bin/bash -c 'cd /velkor && ./run.sh' >"$work/run.log" 2>&1 </dev/null ||
    { tail -40 "$work/run.log"; exit 1; }
grep -A6 '^No display here' "$work/run.log"
grep -q 'Counter 1' "$work/run.log" || { tail -40 "$work/run.log"; echo "run.sh printed no counts"; exit 1; }

step "./test.sh"
inside /bin/bash -c 'cd /velkor && ./test.sh' >"$work/test.log" 2>&1 </dev/null ||
    { grep -E 'tests passed|tests failed|FAILED|Error' "$work/test.log" | tail -30; tail -40 "$work/test.log"; exit 1; }
grep -E 'tests passed|tests failed' "$work/test.log"
step ""

echo "All steps passed in $((SECONDS - start)) s."
dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Package}\n' | sort >"$work/after"
echo "Packages the scripts asked for:"
grep -h '^Installing:' "$work/run.log" "$work/test.log" | sed 's/^Installing:/ /'
echo "Packages the two commands installed into the clean root, with what they pulled in ($(comm -13 "$work/before" "$work/after" | wc -l)):"
comm -13 "$work/before" "$work/after" | tr '\n' ' ' | fold -s -w 100
echo
