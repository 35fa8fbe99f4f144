#!/bin/sh
# run-shot.sh PROGRAM PNG: runs a dialog's screenshot program under a virtual X display and
# checks that it saved a PNG (skipped, status 77, without xvfb-run).
set -u
program=$1
out=$2
command -v xvfb-run >/dev/null 2>&1 || { echo "xvfb-run is not installed: skipped"; exit 77; }
rm -f "$out"
xvfb-run -a -s '-screen 0 1280x1024x24' env QT_QPA_PLATFORM=xcb "$program" "$out"
status=$?
[ $status -eq 0 ] || { echo "exit status $status"; exit 1; }
[ "$(head -c 8 "$out" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
    { echo "no PNG at $out"; exit 1; }
echo "screenshot: $out"
