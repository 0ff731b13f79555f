#!/usr/bin/env bash
# The project checks find what they are for: a package missing from install-deps,
# and one class name defined in two libraries, without false alarms for a class
# used by other libraries, a source compiled into two libraries, or a base class's
# code inlined at the start of a derived class's constructor.
# Usage: checks_self_test.sh SOURCE_DIR
set -euo pipefail
src=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# expect NAME EXPECTED-STATUS COMMAND...: runs the check, keeps its output in $out.
expect() {
  local name=$1 want=$2; shift 2
  local got=0
  out=$("$@" 2>&1) || got=$?
  [[ $got == "$want" ]] || { echo "$out"; fail "$name: exit status $got, expected $want"; }
}

# Packages: a small build whose program includes what glfw3native.h includes
# (X11/extensions/Xrandr.h) and TinyXML, and whose tests include GoogleTest, with
# its dependency files left as .o.d files, as generators other than ninja leave them.
hb=$tmp/headers-build
mkdir -p "$hb"/{platform,tests}
printf '#include <X11/extensions/Xrandr.h>\n#include <tinyxml.h>\n' > "$tmp/platform.cpp"
printf '#include <gtest/gtest.h>\n' > "$tmp/test.cpp"
g++ -std=c++20 -E -MD -MF "$hb/platform/platform.cpp.o.d" -MT platform/platform.cpp.o "$tmp/platform.cpp" -o /dev/null
g++ -std=c++20 -E -MD -MF "$hb/tests/test.cpp.o.d" -MT tests/test.cpp.o "$tmp/test.cpp" -o /dev/null
headers() {  # INSTALL-DEPS-SCRIPT EXPECTED-STATUS
  expect "headers with $(basename "$1")" "$2" env TAMBER_INSTALL_DEPS="$1" bash "$here/system_headers.sh" "$hb" "$tmp"
}
without() { sed -E "s/([ (])$1( |\\)|$)/\\1\\2/" "$src/scripts/install-deps"; }
headers "$src/scripts/install-deps" 0
without libxrandr-dev > "$tmp/no-xrandr"
headers "$tmp/no-xrandr" 1
grep -q '^libxrandr-dev (e.g. /usr/include/X11/extensions/Xrandr.h) is neither among the build packages' <<< "$out" \
  || { echo "$out"; fail "libxrandr-dev not named"; }
# A package only the tests install does not do for the program's own headers.
without libtinyxml-dev | sed 's/^test_pkgs=(/test_pkgs=(libtinyxml-dev /' > "$tmp/tinyxml-for-tests"
headers "$tmp/tinyxml-for-tests" 1
[[ $(grep -c 'is neither' <<< "$out") == 1 && $out == *"libtinyxml-dev (e.g. /usr/include/tinyxml.h) is neither among the build"* ]] \
  || { echo "$out"; fail "libtinyxml-dev not named alone"; }
without libgtest-dev > "$tmp/no-gtest"
headers "$tmp/no-gtest" 1
[[ $(grep -c 'is neither' <<< "$out") == 1 && $out == *"libgtest-dev (e.g. /usr/include/gtest/"*") is neither listed in install-deps"* ]] \
  || { echo "$out"; fail "libgtest-dev not named alone"; }

# Classes: small libraries laid out like the project's, compiled as the build does.
fx=$tmp/src
mkdir -p "$fx"/{text,media,shapes,gadgets} "$tmp/lib"
cat > "$fx/text/ByteReader.h" <<'EOF'
#pragma once
struct ByteReader {
    const unsigned char* p;
    unsigned U16() { return p[0] | p[1] << 8; }
};
EOF
cat > "$fx/media/ByteReader.h" <<'EOF'
#pragma once
namespace tamber::media {
struct ByteReader {
    const unsigned char* p;
    unsigned U16() { return p[0] << 8 | p[1]; }
};
}
EOF
cat > "$fx/shapes/Shape.h" <<'EOF'
#pragma once
inline int shapeCount;
struct Shape {
    Shape() : id(++shapeCount) {}
    virtual ~Shape();
    virtual int Corners() const;
    int id;
};
EOF
cat > "$fx/shapes/Shape.cpp" <<'EOF'
#include "shapes/Shape.h"
#include "text/ByteReader.h"
Shape::~Shape() {}
int Shape::Corners() const { unsigned char b[2] = {1, 2}; return ByteReader{b}.U16(); }
EOF
cat > "$fx/text/Text.cpp" <<'EOF'
#include "text/ByteReader.h"
unsigned (ByteReader::*textRead)() = &ByteReader::U16;
EOF
cat > "$fx/media/Media.cpp" <<'EOF'
#include "media/ByteReader.h"
unsigned (tamber::media::ByteReader::*mediaRead)() = &tamber::media::ByteReader::U16;
EOF
cat > "$fx/gadgets/Square.cpp" <<'EOF'
#include "shapes/Shape.h"
#include "text/ByteReader.h"
struct Square : Shape {
    Square();
    int Corners() const override { return 4; }
    int side;
};
Square::Square() : side(id) {}  // begins with Shape's inline constructor
Shape* MakeSquare() { return new Square; }
EOF
cat > "$fx/gadgets/Reading.cpp" <<'EOF'
#include "text/ByteReader.h"
unsigned GadgetRead(const unsigned char* p) { return ByteReader{p}.U16(); }
EOF
compile() {  # LIBRARY SOURCES... (-O0 before a source: compiled unoptimised)
  local lib=$1 opt=-O2 objects=(); shift
  for s in "$@"; do
    [[ $s == -O0 ]] && { opt=-O0; continue; }
    # Relative paths, as ccache with base_dir passes them: the debug information
    # then names files as lib/../src/text/ByteReader.h.
    (cd "$tmp/lib" && g++ -std=c++20 $opt -g -I../src -c "../src/$s" -o "$(basename "$s").o")
    objects+=("$(basename "$s").o"); opt=-O2
  done
  (cd "$tmp/lib" && ar qc "lib$lib.a" "${objects[@]}" && rm -f ./*.o)
}
compile text text/Text.cpp
compile shapes shapes/Shape.cpp
compile resgen_shapes shapes/Shape.cpp       # the same source in a second library
compile gadgets gadgets/Square.cpp -O0 gadgets/Reading.cpp
expect "one class in two libraries" 0 bash "$here/duplicate_classes.sh" "$tmp/lib" "$fx"
compile media media/Media.cpp
expect "ByteReader in text and media" 1 bash "$here/duplicate_classes.sh" "$tmp/lib" "$fx"
want="ByteReader is defined in 2 libraries:
  libmedia.a                               media/ByteReader.h
  libtext.a                                text/ByteReader.h"
[[ $(grep -v '^FAIL' <<< "$out" | sort) == $(sort <<< "$want") ]] || { echo "$out"; fail "unexpected report"; }
echo "ok"
