#!/usr/bin/env bash
# Fails when two libraries of the build define a class of the same name, namespaces
# aside: in one program two such classes break the one-definition rule (the linker
# keeps one copy of each inline member, which only unoptimised builds call), and in
# separate namespaces they still make the code ambiguous to read.
#
# A class is defined where the code of its member functions comes from, as the debug
# line information of the libraries says: a class written inline in ui/Foo.h and used
# by five libraries is defined once, in ui/, and a source compiled into two libraries
# is one definition too. A location counts only if its file names the class: inlined
# code of a base class or helper can stand at the start of a member's code.
# Two definitions are two folders of the source tree.
# Usage: duplicate_classes.sh BUILD_DIR [SOURCE_DIR]   (exit 77: no debug information)
set -euo pipefail
build=$(realpath "$1")
src=$(realpath "${2:-$(dirname "$0")/../..}")
mapfile -t libs < <(find "$build" -name 'lib*.a' -type f | sort)
[[ ${#libs[@]} -gt 0 ]] || { echo "no libraries under $build (not built yet?)" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

for i in "${!libs[@]}"; do printf '%s\0%s\0' "${libs[$i]}" "$tmp/$i.nm"; done \
  | xargs -0 -n2 -P"$(nproc)" sh -c 'nm -A -C -l --defined-only "$0" > "$1" 2>/dev/null'

cat "$tmp"/*.nm | awk -v src="$src/" -v build="$build/" -v report="$tmp/report" '
  # The class of a demangled member name: "tamber::ui::Window::Draw(Rect) const" gives
  # "Window"; "" for free functions, data, library types, lambdas and local entities.
  function class_of(s,    n, i, c, depth, comp, comps, k, first, out) {
    if (s ~ /^(std|__gnu_cxx|__cxxabiv1|testing|benchmark)::/) return ""
    if (s ~ /\(anonymous namespace\)|\{lambda|\{unnamed type|\)( const)?( volatile)?( &&?)?::/) return ""
    if (s ~ /^(vtable|VTT|typeinfo|typeinfo name|construction vtable|guard variable|reference temporary|TLS [a-z]+ function) /) return ""
    sub(/^((non-)?virtual thunk to |covariant return thunk to )+/, "", s)
    n = length(s); k = 0; comp = ""; depth = 0
    for (i = 1; i <= n; i++) {
      c = substr(s, i, 1)
      if (depth == 0 && comp == "operator" && c !~ /[A-Za-z0-9_]/) {
        # "operator()", "operator<<", "operator new[]", "operator std::string": up to the arguments.
        if (substr(s, i, 2) == "()") break
        while (i <= n && substr(s, i, 1) != "(") i++
        break
      }
      if (depth == 0 && c == "(") break
      if (depth == 0 && c == " ") { k = 0; comp = ""; continue }     # a return type ends
      if (depth == 0 && c == ":" && substr(s, i + 1, 1) == ":") { comps[++k] = comp; comp = ""; i++; continue }
      if (c == "<" || c == "(" || c == "[") depth++
      else if (c == ">" || c == ")" || c == "]") depth--
      comp = comp c
    }
    if (k == 0 || comps[1] ~ /^(std|__gnu_cxx|__cxxabiv1|testing|benchmark)$/) return ""
    first = 1
    if (comps[1] == "tamber") {   # the namespace tamber::<library>[::<part>]
      first = 2
      while (first <= k && comps[first] ~ /^[a-z][a-z0-9_]*$/) first++
    }
    out = ""
    for (i = first; i <= k; i++) { c = comps[i]; sub(/<.*/, "", c); out = out (out == "" ? "" : "::") c }
    return out
  }
  function folder(path,    d) { d = path; if (!sub(/\/[^\/]*$/, "", d)) d = "."; return d }
  function names(file, cls,    last, line, text) {   # does the file mention the class?
    last = cls; sub(/.*::/, "", last)
    if (!(file in source)) {
      text = ""
      while ((getline line < (src file)) > 0) text = text " " line
      close(src file); source[file] = text " "
    }
    return match(source[file], "[^A-Za-z0-9_]" last "[^A-Za-z0-9_]") > 0
  }
  function join(list,    n, a, i, out, got) {
    n = split(list, a, " "); out = ""
    for (i = 1; i <= n; i++) if (!(a[i] in got)) { got[a[i]] = 1; out = out (out == "" ? "" : ", ") a[i] }
    return out
  }
  {
    # "LIBRARY:MEMBER:ADDRESS TYPE NAME<TAB>FILE:LINE"
    t = index($0, "\t")
    if (!t) next
    loc = substr($0, t + 1); sub(/:[0-9]+$/, "", loc)
    # "build/../ui/Foo.h" is "ui/Foo.h": compilers cached from another build folder
    # name sources relative to it.
    while (sub(/\/[^\/.][^\/]*\/\.\.\//, "/", loc)) {}
    line = substr($0, 1, t - 1)
    if (!match(line, /:[0-9a-f]+ [A-Za-z] /)) next
    lines_seen = 1
    if (index(loc, src) != 1) next                     # system headers
    loc = substr(loc, length(src) + 1)
    lib = substr(line, 1, RSTART - 1); sub(/:[^:]*$/, "", lib)
    if (index(lib, build) == 1) lib = substr(lib, length(build) + 1)
    if (loc ~ /\.(c|cc|cpp)$/) home[folder(loc)] = home[folder(loc)] " " lib
    if (substr(line, RSTART + RLENGTH - 2, 1) ~ /[a-z]/) next   # local symbols cannot clash
    cls = class_of(substr(line, RSTART + RLENGTH))
    if (cls != "") at[cls SUBSEP loc] = 1
  }
  END {
    if (!lines_seen) exit 77
    for (key in at) {
      split(key, p, SUBSEP)
      if (!names(p[2], p[1])) continue
      d = folder(p[2])
      if (!((p[1] SUBSEP d) in files)) count[p[1]]++
      files[p[1] SUBSEP d] = files[p[1] SUBSEP d] " " p[2]
    }
    for (key in files) {
      split(key, p, SUBSEP)
      if (count[p[1]] > 1) sites[p[1]] = sites[p[1]] sprintf("  %-40s %s\n", home[p[2]] == "" ? "(headers only)" : join(home[p[2]]), join(files[key]))
    }
    for (cls in sites) printf "%s is defined in %d libraries:\n%s", cls, count[cls], sites[cls] > report
  }' || status=$?
if [[ ${status:-0} == 77 ]]; then
  echo "SKIP: the libraries carry no debug line information (build with -g)"
  exit 77
fi
[[ ${status:-0} == 0 ]] || exit "$status"
if [[ -s $tmp/report ]]; then
  cat "$tmp/report"
  echo "FAIL: each class name above belongs to one library; rename the others"
  exit 1
fi
echo "ok: no class name is defined in two libraries (${#libs[@]} libraries)"
