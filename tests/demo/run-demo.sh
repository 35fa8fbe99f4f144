#!/bin/sh
# run-demo.sh MODE DEMO OUT: runs orbel-demo with a data folder, registry and settings of its
# own, and checks how it ends.
#   no-display  no display and no Qt platform asked for: one line saying how to run it
#               instead, status 2
#   offscreen   Qt's offscreen platform: the first run makes the demo store, selects a folder,
#               saves the window to OUT/demo-offscreen.png, status 0
#   postgres    offscreen on a shared store of a throwaway PostgreSQL server (skipped, status
#               77, without PostgreSQL): the store's tables are made, a folder is selected and
#               the window saved; a server that is not there fails with status 1 and a message
#               that never shows the connection string's password
#   xvfb        under a virtual X display (skipped, status 77, without xvfb-run): the same,
#               saving the window to OUT (a .png file), then the scanned letter shown on its
#               second page in the preview to OUT-letter.png, then the routing sheet
#               after a batch run to OUT-routing.png
set -u
mode=$1 demo=$2 out=$3
folder='\All\Invoices\2026'
. "$(dirname "$0")/demo-home.sh"

fail() { echo "run-demo.sh $mode: $*" >&2; exit 1; }

# A PNG starts with its 8-byte signature.
is_png() { [ "$(od -An -tx1 -N8 "$1" 2>/dev/null | tr -d ' \n')" = 89504e470d0a1a0a ]; }

case $mode in
no-display)
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$demo" >"$work/stdout" 2>"$work/stderr"
    status=$?
    cat "$work/stderr" >&2
    [ $status -eq 2 ] || fail "exit status $status, not 2"
    [ "$(wc -l <"$work/stderr")" -eq 1 ] || fail "not one line on standard error"
    grep -q 'xvfb-run -a orbel-demo' "$work/stderr" || fail "no word of xvfb-run"
    grep -q 'scripts/first-light.sh' "$work/stderr" || fail "no word of the container"
    [ ! -e "$XDG_DATA_HOME/orbel/demo.orbel" ] || fail "made a store without a window"
    ;;
offscreen)
    mkdir -p "$out" && rm -f "$out/demo-offscreen.png"
    QT_QPA_PLATFORM=offscreen "$demo" --screenshot "$out/demo-offscreen.png" --select "$folder"
    status=$?
    [ $status -eq 0 ] || fail "exit status $status"
    is_png "$out/demo-offscreen.png" || fail "no PNG at $out/demo-offscreen.png"
    [ -s "$XDG_DATA_HOME/orbel/demo.orbel" ] || fail "the first run made no demo store"
    [ -d "$XDG_DATA_HOME/orbel/demo-objects" ] || fail "no object folder beside the store"
    # A second run opens the store the first one made.
    QT_QPA_PLATFORM=offscreen "$demo" --screenshot "$work/again.png" --select '\All\Orders' ||
        fail "a second run on the same store failed"
    ;;
postgres)
    cluster="$(pwd)/pg-demo-$$"
    conninfo=$(sh "$(dirname "$0")/../store/pg-cluster.sh" start "$cluster")
    started=$?
    [ $started -eq 77 ] && { echo "skipped: $conninfo"; exit 77; }
    [ $started -eq 0 ] || fail "no server: $conninfo"
    QT_QPA_PLATFORM=offscreen "$demo" --store "postgres:$conninfo" \
        --screenshot "$work/shared.png" --select '\All' >"$work/stdout" 2>"$work/stderr"
    status=$?
    tables=$(psql "$conninfo" -Atc "SELECT count(*) FROM pg_tables WHERE tablename LIKE 'ole_%'" 2>&1)
    sh "$(dirname "$0")/../store/pg-cluster.sh" stop "$cluster"
    [ $status -eq 0 ] || { cat "$work/stderr" >&2; fail "exit status $status on the server"; }
    is_png "$work/shared.png" || fail "no PNG of the shared store"
    [ "$tables" = 3 ] || fail "the store's tables were not made: $tables"
    QT_QPA_PLATFORM=offscreen "$demo" --store "postgres:host=127.0.0.1 port=1 password=Sekr1t-pw" \
        --screenshot "$work/none.png" --select '\All' >"$work/stdout" 2>"$work/stderr"
    status=$?
    [ $status -eq 1 ] || fail "exit status $status without a server, not 1"
    grep -q 'cannot open' "$work/stderr" || fail "no word of the server that is not there"
    if grep -q 'Sekr1t-pw' "$work/stderr" "$work/stdout"; then fail "the password was shown"; fi
    ;;
xvfb)
    command -v xvfb-run >/dev/null 2>&1 || { echo "xvfb-run is not installed: skipped"; exit 77; }
    rm -f "$out"
    xvfb-run -a -s '-screen 0 1280x1024x24' env QT_QPA_PLATFORM=xcb \
        "$demo" --screenshot "$out" --select "$folder"
    status=$?
    [ $status -eq 0 ] || fail "exit status $status"
    is_png "$out" || fail "no PNG at $out"
    echo "screenshot: $out"
    # The scanned letter in the preview, on its second page.
    letter="${out%.png}-letter.png"
    rm -f "$letter"
    xvfb-run -a -s '-screen 0 1280x1024x24' env QT_QPA_PLATFORM=xcb \
        "$demo" --screenshot "$letter" --select '\All\Correspondence' --item 'Scanned letter' \
        --page 2
    status=$?
    [ $status -eq 0 ] || fail "exit status $status showing the letter"
    is_png "$letter" || fail "no PNG at $letter"
    echo "screenshot: $letter"
    # The routing sheet after a batch run, from the store the first run made.
    routed="${out%.png}-routing.png"
    rm -f "$routed"
    xvfb-run -a -s '-screen 0 1280x1024x24' env QT_QPA_PLATFORM=xcb \
        "$demo" --screenshot "$routed" --routing
    status=$?
    [ $status -eq 0 ] || fail "exit status $status on the routing sheet"
    is_png "$routed" || fail "no PNG at $routed"
    echo "screenshot: $routed"
    ;;
*)
    fail "unknown mode"
    ;;
esac
exit 0
