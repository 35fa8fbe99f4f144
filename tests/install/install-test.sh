#!/bin/sh
# install-test.sh BUILD WORK LIBDIR CXX [CXXFLAGS]: installs the build into WORK/prefix and uses
# the installation alone: its files are where hosts look for them, its programs and module load
# their libraries from the prefix (not from the build tree), the installed test container
# creates the control from the installed module, and the installed example hosts build from
# their installed sources with nothing but `find_package(Orbel)` or `pkg-config orbel`, and
# open a store through it.
set -u
build=$1 work=$2 libdir=$3 cxx=$4 extra=${5:-}
prefix=$work/prefix
fail() { echo "install-test.sh: $*" >&2; exit 1; }

rm -rf "$work" && mkdir -p "$work" || exit 1
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; fail "cmake --install failed"; }

module=$prefix/$libdir/orbel/orbel.so
for f in bin/orbel-container "$libdir/liborbel-platform.so" "$libdir/orbel/orbel.so" \
    "$libdir/pkgconfig/orbel.pc" "$libdir/cmake/Orbel/OrbelConfig.cmake" \
    include/orbel/host/wrapper/OrbelWrapper.h include/orbel/host/adapter/HostAdapter.h \
    include/orbel/host/adapter/EmbeddedControl.h include/orbel/platform/Platform.h \
    include/orbel/src/store/RecordFormats.h share/orbel/examples/headless-host/main.cpp \
    share/orbel/templates/blank-page.tif "$libdir/orbel/orbel-browser.so" \
    share/orbel/browser/start.html "$libdir/orbel/orbel-spreadsheet.so"; do
    [ -e "$prefix/$f" ] || fail "not installed: $f"
done
if [ -e "$prefix/bin/orbel-demo" ]; then
    for f in "$libdir/liborbel-platform-qt.so" share/applications/orbel-demo.desktop \
        share/orbel/samples/welcome.txt share/orbel/samples/invoice-scan.tif \
        share/orbel/samples/order-4711.xml "$libdir/pkgconfig/orbel-qt.pc" \
        share/orbel/examples/qt-host/main.cpp; do
        [ -e "$prefix/$f" ] || fail "not installed with the demo: $f"
    done
fi

# The store probe is a back door for test containers: the module hosts install has none of it.
if grep -aq -e IOrbelStoreProbe -e RunStoreOperation "$module"; then
    fail "the installed module carries the store probe"
fi

# Every Orbel library a program or a module needs resolves inside the prefix.
for f in "$prefix"/bin/* "$prefix/$libdir"/orbel/*.so; do
    ldd "$f" >"$work/ldd.txt" 2>&1 || fail "ldd $f failed"
    if grep -q 'not found' "$work/ldd.txt"; then cat "$work/ldd.txt" >&2; fail "$f misses a library"; fi
    grep 'liborbel' "$work/ldd.txt" | grep -v "=> $prefix/" >/dev/null &&
        { cat "$work/ldd.txt" >&2; fail "$f loads an Orbel library from outside the prefix"; }
done

# Every installed program says which build it is, without a display or a store.
for f in "$prefix"/bin/*; do
    name=$(basename "$f")
    env -u DISPLAY "$f" --version >"$work/version.out" 2>&1 && grep -q "^$name [0-9][0-9.]*\$" "$work/version.out" ||
        { cat "$work/version.out" >&2; fail "$name --version did not print its version"; }
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
    if [ -e "$build/lib/orbel-spreadsheet-calc.so" ]; then
        grep -q "$prefix/$libdir/orbel/orbel-spreadsheet-calc.so" "$ORBEL_REGISTRY" ||
            fail "the demo did not register the installed spreadsheet module"
    fi
    grep -aq "$prefix/share/orbel/samples/invoice-scan.tif" "$XDG_DATA_HOME/orbel/demo.orbel" ||
        fail "the demo store does not link the installed samples"
fi

# Only what a host compiles against is installed: the control's own code and the backends'
# insides stay out.
for f in include/orbel/src/control include/orbel/src/panes include/orbel/platform/headless/HeadlessUserDriver.h \
    include/orbel/host/container; do
    [ -e "$prefix/$f" ] && fail "installed, but no host needs it: $f"
done

# The example hosts, built from their installed sources against the installation alone: with
# CMake's package and with pkg-config.
export PKG_CONFIG_PATH="$prefix/$libdir/pkgconfig"
[ "$(pkg-config --variable=module orbel)" -ef "$module" ] || fail "orbel.pc names another module"
examples=$prefix/share/orbel/examples
rm -f "$ORBEL_REGISTRY"
for host in headless-host qt-host; do
    [ -d "$examples/$host" ] || continue
    cmake -S "$examples/$host" -B "$work/$host" -DCMAKE_PREFIX_PATH="$prefix" \
        -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="$extra" >"$work/$host.log" 2>&1 &&
        cmake --build "$work/$host" >>"$work/$host.log" 2>&1 ||
        { cat "$work/$host.log" >&2; fail "the $host example did not build with find_package(Orbel)"; }
done
pc=orbel
[ -d "$examples/qt-host" ] && pc="orbel orbel-qt"
# shellcheck disable=SC2086
flags=$(pkg-config --cflags --libs $pc) || fail "pkg-config $pc failed"
# shellcheck disable=SC2086
"$cxx" $extra -o "$work/headless-pc" "$examples/headless-host/main.cpp" $flags ||
    fail "the headless example did not build with pkg-config"
if [ -d "$examples/qt-host" ]; then
    # shellcheck disable=SC2086
    "$cxx" $extra -fPIC -o "$work/qt-pc" "$examples/qt-host/main.cpp" $flags ||
        fail "the Qt example did not build with pkg-config"
fi

# Each opens a store through the installed module.
for exe in "$work/headless-host/orbel-example-headless" "$work/headless-pc"; do
    "$exe" "$module" >"$work/run.out" 2>&1 || { cat "$work/run.out" >&2; fail "$exe could not open a store"; }
    grep -q '^folder: FolderChange(' "$work/run.out" || { cat "$work/run.out" >&2; fail "$exe showed no folder"; }
done
if [ -d "$examples/qt-host" ]; then
    for exe in "$work/qt-host/orbel-example-qt" "$work/qt-pc"; do
        rm -f "$work/qt.orbel"
        QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR= "$exe" "$module" "$work/qt.orbel" --quit-after-open \
            >"$work/run.out" 2>&1 || { cat "$work/run.out" >&2; fail "$exe could not open a store"; }
        grep -q '^folder: FolderChange(' "$work/run.out" || { cat "$work/run.out" >&2; fail "$exe showed no folder"; }
    done
fi
exit 0
