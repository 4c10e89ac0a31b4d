#!/usr/bin/env bash
# The Windows installer under Wine, silently, for all users and for one user: the programs land in
# Program Files\Velkor (or the user's Programs folder), the Start menu has Velkor, .blb and .blc
# are opened by velkor.exe, the Programs list shows Velkor's version, the installed velkor.exe opens
# a session with nothing but its own folder, and the silent uninstall leaves nothing behind.
#   installer_under_wine.sh LINUX_BUILD PACKAGE_DIR VERSION     (Wine's settings from the caller)
set -euo pipefail
linux=$1
package=$2
version=$3
setup=$package/velkor-$version-setup.exe
source "$(dirname "$0")/test_frame.sh"
[ -f "$setup" ] || { echo "FAILED: no installer at $setup (scripts/package-windows.sh makes it)"; exit 1; }
# The installed programs find their DLLs in their own folder only.
unset WINEPATH
query() { wine reg query "$1" ${2:+/v "$2"} 2>/dev/null | tr -d '\r' | grep -v '^reg: ' || true; }

start_display 200 259 1280x800
"$linux/tools/velkor-synth/velkor-synth" --seed 5 --lines 8000 --out "$work/session" >/dev/null

# Waits up to a minute for a file or folder to go (the uninstaller runs on from a copy of itself).
gone() {
    local i
    for i in $(seq 60); do
        [ -e "$1" ] || return 0
        sleep 1
    done
    return 1
}
windowsVariable() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
local_app_data=$(windowsVariable LOCALAPPDATA)
app_data=$(windowsVariable APPDATA)
program_data=$(windowsVariable ProgramData)

# mode | registry root | the folder | the Start menu
modes=(
    "/AllUsers|HKLM|C:\\Program Files\\Velkor|$program_data\\Microsoft\\Windows\\Start Menu\\Programs"
    "/CurrentUser|HKCU|$local_app_data\\Programs\\Velkor|$app_data\\Microsoft\\Windows\\Start Menu\\Programs"
)
for entry in "${modes[@]}"; do
    IFS='|' read -r mode root folder menu <<<"$entry"
    unix_folder=$(winepath -u "$folder" 2>/dev/null)
    unix_menu=$(winepath -u "$menu" 2>/dev/null)
    echo "== install $mode into $folder"
    wine "$setup" /S "$mode" || fail "$mode: the installer failed"
    for f in velkor.exe velkor-count.exe velkor-synth.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll \
        platforms/qwindows.dll uninstall.exe README.md licenses/README.txt; do
        [ -f "$unix_folder/$f" ] || fail "$mode: $f is not installed"
    done
    [ -f "$unix_menu/Velkor.lnk" ] || fail "$mode: no Start menu entry"
    for ext in .blb .blc; do
        query "$root\\Software\\Classes\\$ext" | grep -q 'Velkor.Recording' ||
            fail "$mode: $ext is not opened by Velkor"
    done
    query "$root\\Software\\Classes\\Velkor.Recording\\shell\\open\\command" |
        grep -qiF "\"$folder\\velkor.exe\" \"%1\"" || fail "$mode: the open command is not velkor.exe"
    uninstall_key="$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velkor"
    query "$uninstall_key" DisplayVersion | grep -q "$version" ||
        fail "$mode: the Programs list does not show version $version"

    # The installed window opens a session, with the DLLs and plugins of its own folder.
    timeout 120 wine "$folder\\velkor.exe" --screenshot "$(winepath -w "$work/installed.png")" \
        "$(winepath -w "$work/session.blb")" >"$work/installed.txt" 2>&1 || true
    grep -q 'counters' "$work/installed.txt" && [ -s "$work/installed.png" ] || {
        cat "$work/installed.txt"
        fail "$mode: the installed velkor.exe did not open a session"
    }
    rm -f "$work/installed.png"

    echo "== uninstall $mode"
    wine "$folder\\uninstall.exe" /S "$mode" || fail "$mode: the uninstaller failed"
    gone "$unix_folder" || fail "$mode: left behind: $(find "$unix_folder" | head -5)"
    # The registry is cleaned after the files: wait for the Programs entry to go.
    for _ in $(seq 60); do
        [ -z "$(query "$uninstall_key")" ] && break
        sleep 1
    done
    [ ! -e "$unix_menu/Velkor.lnk" ] || fail "$mode: the Start menu entry is left"
    for key in "Software\\Classes\\.blb" "Software\\Classes\\.blc" \
        "Software\\Classes\\Velkor.Recording" "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velkor"; do
        [ -z "$(query "$root\\$key")" ] || fail "$mode: $root\\$key is left in the registry"
    done
done

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "ok: installed and uninstalled for all users and for one user"
