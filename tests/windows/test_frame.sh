# What every end-to-end script under Wine starts with, sourced by them: a work folder removed at
# the end, the count of failed checks with `fail`, and `start_display FIRST LAST SIZE`, which
# starts Xvfb on the first free display numbered FIRST..LAST at SIZE (e.g. 1280x800), waits for
# it and exports DISPLAY; the display ends with the script.
work=$(mktemp -d)
xvfb=""
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
start_display() {
    local n display=""
    for n in $(seq "$1" "$2"); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=:$n; break; }
    done
    [ -n "$display" ] || { echo "FAILED: no free display between :$1 and :$2"; exit 1; }
    Xvfb "$display" -screen 0 "$3x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
    export DISPLAY=$display
}
