#!/usr/bin/env bash
# Starts or stops the Wine server of a Windows build's own Wine prefix (BUILD_DIR/wine-prefix):
#   scripts/wine-server.sh start BUILD_DIR    scripts/wine-server.sh stop BUILD_DIR
# Started once beforehand, with its output sent nowhere, the server keeps the prefix ready for
# every test; a server that Wine starts inside a test would hold the test runner's output pipe.
set -euo pipefail
action=$1
export WINEPREFIX=$(realpath -m "$2")/wine-prefix
export WINEDEBUG=-all
case $action in
start)
    mkdir -p "$WINEPREFIX"
    wineserver -p </dev/null >/dev/null 2>&1
    # The first start creates the prefix (a few seconds); later starts are quick.
    wine cmd /c exit </dev/null >/dev/null 2>&1
    ;;
stop)
    [ -d "$WINEPREFIX" ] && wineserver -k </dev/null >/dev/null 2>&1 || true
    ;;
*)
    echo "usage: $0 start|stop BUILD_DIR" >&2
    exit 2
    ;;
esac
