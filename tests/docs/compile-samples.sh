#!/bin/sh
# compile-samples.sh CXX DOC WORK INCLUDE...: compiles every ```cpp block of the page DOC, each
# as a translation unit of its own, against the include folders given; fails naming the block's
# first line when one does not compile.
set -u
cxx=$1 doc=$2 work=$3
shift 3
flags="-std=c++20 -Wall -Wextra -Werror -fsyntax-only"
for dir in "$@"; do flags="$flags -I $dir"; done
rm -rf "$work" && mkdir -p "$work" || exit 1
awk -v dir="$work" '
    /^```cpp$/ { n++; file = sprintf("%s/sample%02d.cpp", dir, n); printf "#line %d \"%s\"\n", NR + 1, FILENAME > file; inside = 1; next }
    /^```/ { if (inside) close(file); inside = 0; next }
    inside { print > file }
' "$doc"
count=0
for f in "$work"/sample*.cpp; do
    [ -e "$f" ] || { echo "compile-samples.sh: $doc has no C++ sample" >&2; exit 1; }
    count=$((count + 1))
    # shellcheck disable=SC2086
    "$cxx" $flags "$f" || { echo "compile-samples.sh: a sample of $doc does not compile: $f" >&2; exit 1; }
done
echo "compile-samples.sh: $count samples of $doc compile"
