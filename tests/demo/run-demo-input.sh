#!/bin/sh
# run-demo-input.sh DEMO: drives orbel-demo under a virtual X display with real input events
# (xdotool through the X server, as a person's keys and clicks arrive), on a first-run store:
# the keyboard moves through the tree and F2 renames a folder, a right click opens the context
# menu at the pointer, a folder is dragged onto another, and Escape asks before the demo closes.
# What the control did is read back from the store file. Skipped (77) without xvfb-run, xdotool
# or sqlite3.
set -u
demo=$1
for tool in xvfb-run xdotool sqlite3; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed: skipped"; exit 77; }
done
. "$(dirname "$0")/demo-home.sh"

cat >"$work/drive.sh" <<'DRIVE'
set -u
demo=$1 work=$2
store=$XDG_DATA_HOME/orbel/demo.orbel
fail() { echo "run-demo-input.sh: $*" >&2; kill "$pid" 2>/dev/null; exit 1; }
# Gives the demo time to take in what was sent: keys that arrive while the control has its
# window disabled to load are lost, as a person's are. ORBEL_INPUT_SETTLE stretches every pause
# (the sanitizer job's programs are several times slower).
pause() { sleep "$(awk -v s="$1" -v f="${ORBEL_INPUT_SETTLE:-1}" 'BEGIN { print s * f }')"; }
# Waits up to ten seconds for the query to print `want`.
expect_store() {
    i=0
    while [ $i -lt 50 ]; do
        [ "$(sqlite3 -cmd '.timeout 2000' "$store" "$1" 2>/dev/null)" = "$2" ] && return 0
        sleep 0.2; i=$((i + 1))
    done
    fail "$3 (the store says: $(sqlite3 "$store" "$1" 2>&1))"
}
QT_QPA_PLATFORM=xcb "$demo" >"$work/demo.log" 2>&1 &
pid=$!
# The title names the store once it is open; the trees are there a moment later.
timeout 30 xdotool search --sync --name 'demo\.orbel' >/dev/null || fail "no demo window"
expect_store "select count(*) from OLE_TREE where Name = 'Drafts'" 1 "the demo store was not made"
pause 1

# The tree: a click on "All", then the keyboard: open it, down to the second folder (the
# folders sort by name: Correspondence, Drafts, Invoices, Orders), F2 and a new name.
xdotool mousemove 53 55 click 1
pause 0.3
xdotool key Right Down Down
pause 0.3
xdotool key F2
pause 0.3
xdotool type 'Letters out'
xdotool key Return
expect_store "select count(*) from OLE_TREE where Name in ('Drafts', 'Letters out') group by Name" \
    1 "F2 on the second folder renamed nothing"
expect_store "select Name from OLE_TREE where Name in ('Drafts', 'Letters out')" 'Letters out' \
    "the folder is not renamed"

# A right click on the list's first row: the menu opens where the pointer is.
xdotool mousemove 340 72 click 3
pause 0.5
menu=$(xdotool search --onlyvisible --class orbel-demo | while read -r w; do
    xdotool getwindowgeometry "$w" | sed -n 's/^ *Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p'
done | awk '$1 >= 330 && $1 <= 350 && $2 >= 62 && $2 <= 82')
[ -n "$menu" ] || fail "no context menu at the pointer (340, 72)"
xdotool key Escape
pause 0.3

# Drag "Letters out" (now the second folder) onto "Invoices" below it.
xdotool mousemove 84 90 mousedown 1
for step in 1 2 3 4 5; do xdotool mousemove 90 $((90 + step * 4)); pause 0.05; done
xdotool mousemove 92 109
pause 0.3
xdotool mouseup 1
expect_store "select p.Name from OLE_TREE c join OLE_TREE p on p.OwnerId = c.ParentOwnerId
              and p.EntryNo = c.ParentEntryNo where c.Name = 'Letters out'" Invoices \
    "the dragged folder is not under Invoices"

# Escape in the control asks first; the answer closes the demo.
xdotool mousemove 53 55 click 1
pause 0.3
xdotool key Escape
pause 0.8
kill -0 "$pid" 2>/dev/null || fail "Escape closed the demo without asking"
xdotool key Return
i=0
while kill -0 "$pid" 2>/dev/null && [ $i -lt 50 ]; do sleep 0.2; i=$((i + 1)); done
kill -0 "$pid" 2>/dev/null && fail "the demo did not close after the question was answered"
wait "$pid" || fail "the demo ended with status $?"
exit 0
DRIVE
xvfb-run -a -s '-screen 0 1280x1024x24' sh "$work/drive.sh" "$demo" "$work"
status=$?
[ $status -eq 0 ] || cat "$work/demo.log" >&2
exit $status
