#!/bin/sh
# install-test.sh BUILD WORK LIBDIR CXX CONSUMER_SOURCE [CXXFLAGS]: installs the build into WORK/prefix
# and uses the installation alone: its files are where hosts look for them, its programs and
# module load their libraries from the prefix (not from the build tree), the installed test
# container creates the control from the installed module, and a host compiled with nothing
# but `pkg-config orbel` opens a store through it.
set -u
build=$1 work=$2 libdir=$3 cxx=$4 consumer=$5 extra=${6:-}
prefix=$work/prefix
fail() { echo "install-test.sh: $*" >&2; exit 1; }

rm -rf "$work" && mkdir -p "$work" || exit 1
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; fail "cmake --install failed"; }

module=$prefix/$libdir/orbel/orbel.so
for f in bin/orbel-container "$libdir/liborbel-platform.so" "$libdir/orbel/orbel.so" \
    "$libdir/pkgconfig/orbel.pc" include/orbel/host/wrapper/OrbelWrapper.h \
    include/orbel/host/adapter/HostAdapter.h include/orbel/platform/Platform.h \
    include/orbel/src/store/RecordFormats.h share/orbel/templates/blank-page.tif; do
    [ -e "$prefix/$f" ] || fail "not installed: $f"
done
if [ -e "$prefix/bin/orbel-demo" ]; then
    for f in "$libdir/liborbel-platform-qt.so" share/applications/orbel-demo.desktop \
        share/orbel/samples/welcome.txt share/orbel/samples/invoice-scan.tif \
        share/orbel/samples/order-4711.xml; do
        [ -e "$prefix/$f" ] || fail "not installed with the demo: $f"
    done
fi

# The store probe is a back door for test containers: the module hosts install has none of it.
if grep -aq -e IOrbelStoreProbe -e RunStoreOperation "$module"; then
    fail "the installed module carries the store probe"
fi

# Every Orbel library a program or the module needs resolves inside the prefix.
for f in "$prefix"/bin/* "$module"; do
    ldd "$f" >"$work/ldd.txt" 2>&1 || fail "ldd $f failed"
    if grep -q 'not found' "$work/ldd.txt"; then cat "$work/ldd.txt" >&2; fail "$f misses a library"; fi
    grep 'liborbel' "$work/ldd.txt" | grep -v "=> $prefix/" >/dev/null &&
        { cat "$work/ldd.txt" >&2; fail "$f loads an Orbel library from outside the prefix"; }
done

# The installed container makes the control from the module installed beside it.
export ORBEL_REGISTRY="$work/registry.reg" HOME="$work/home" XDG_DATA_HOME="$work/data"
export XDG_CONFIG_HOME="$work/config" ORBEL_INI_DIR="$work/ini"
echo 'get ResponseTimeOut' >"$work/one-line.orbel"
"$prefix/bin/orbel-container" --register "$work/one-line.orbel" \
    >"$work/container.out" 2>&1 || { cat "$work/container.out" >&2; fail "the container failed"; }
grep -q '^ResponseTimeOut = ' "$work/container.out" ||
    { cat "$work/container.out" >&2; fail "the container printed no property"; }
grep -q "$prefix/$libdir/orbel/orbel.so" "$ORBEL_REGISTRY" ||
    fail "the registry does not name the installed module"
grep -q "\"FileName\"=\"$prefix/share/orbel/templates/blank-page.tif\"" "$ORBEL_REGISTRY" ||
    fail "the registry does not name the installed blank page template"

# The installed demo registers the module installed beside it and links its first store to
# the installed samples.
if [ -e "$prefix/bin/orbel-demo" ]; then
    rm -f "$ORBEL_REGISTRY"
    QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR= "$prefix/bin/orbel-demo" \
        --screenshot "$work/demo.png" --select '\All' >"$work/demo.out" 2>&1 ||
        { cat "$work/demo.out" >&2; fail "the installed demo failed"; }
    grep -q "$module" "$ORBEL_REGISTRY" || fail "the demo registered another module"
    grep -aq "$prefix/share/orbel/samples/invoice-scan.tif" "$XDG_DATA_HOME/orbel/demo.orbel" ||
        fail "the demo store does not link the installed samples"
fi

# A host built from the installed headers and libraries alone.
export PKG_CONFIG_PATH="$prefix/$libdir/pkgconfig"
flags=$(pkg-config --cflags --libs orbel) || fail "pkg-config orbel failed"
[ "$(pkg-config --variable=module orbel)" -ef "$module" ] || fail "orbel.pc names another module"
# shellcheck disable=SC2086
"$cxx" -std=c++20 $extra -o "$work/consumer" "$consumer" $flags || fail "the host did not build"
rm -f "$ORBEL_REGISTRY"
"$work/consumer" "$(pkg-config --variable=module orbel)" || fail "the host could not open a store"
exit 0
