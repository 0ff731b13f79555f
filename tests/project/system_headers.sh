#!/usr/bin/env bash
# Fails when the build includes a system header whose Debian package scripts/install-deps
# neither lists nor pulls in through the dependencies of what it lists: on a fresh
# machine that header would be missing. Objects of the program and its tools
# (everything but tests/, bench/ and fuzz/) must get their headers from the build
# packages alone, since scripts/run installs only those.
# Usage: system_headers.sh BUILD_DIR [SOURCE_DIR]
# TAMBER_INSTALL_DEPS names another install-deps script to read (to try the check).
set -euo pipefail
export LC_ALL=C
build=$(realpath "$1")
src=$(realpath "${2:-$(dirname "$0")/../..}")
deps_script=${TAMBER_INSTALL_DEPS:-$src/scripts/install-deps}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Every (object, header) pair the compiler reported: ninja keeps them in .ninja_deps
# and deletes the .d files; other generators leave the .d files in place.
{
  if [[ -f $build/.ninja_deps ]]; then
    ninja -C "$build" -t deps | awk '
      /^[^ ].*: #deps/ { sub(/: #deps.*/, ""); obj = $0; next }
      /^    / { print obj "\t" $1 }'
  fi
  find "$build" -name '*.o.d' -print0 | xargs -0 -r awk '
    FNR == 1 { obj = FILENAME; sub(/\.d$/, "", obj); target = 1 }
    { gsub(/\\$/, "")
      for (i = 1; i <= NF; i++) {
        if (target) { if ($i ~ /:$/) target = 0; continue }
        print obj "\t" $i } }'
} > "$tmp/pairs"
[[ -s $tmp/pairs ]] || { echo "no compiler dependency records under $build (not built yet?)" >&2; exit 1; }

# Object paths relative to the build folder; header paths absolute and without "..".
# A header is "run" when an object outside tests/, bench/ and fuzz/ includes it,
# except in a clang build (scripts/fuzz): clang comes with the test packages.
compiler=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null || true)
[[ $(basename "${compiler:-c++}") == clang* ]] && with_clang=1 || with_clang=0
awk -F'\t' -v b="$build/" -v with_clang="$with_clang" '
  { obj = $1; if (index(obj, b) == 1) obj = substr(obj, length(b) + 1)
    h = $2; if (h !~ /^\//) h = b h
    kind = (with_clang || obj ~ /^(tests|bench|fuzz)\//) ? "test" : "run"
    if (!(h in k) || kind == "run") k[h] = kind }
  END { for (h in k) print k[h] "\t" h }' "$tmp/pairs" | sort -u > "$tmp/raw"
cut -f2 "$tmp/raw" | tr '\n' '\0' | xargs -0 realpath -m -s -- > "$tmp/norm"
paste <(cut -f1 "$tmp/raw") "$tmp/norm" \
  | awk -F'\t' -v s="$src/" -v b="$build/" 'index($2, s) != 1 && index($2, b) != 1 && (!($2 in k) || $1 == "run") { k[$2] = $1 }
    END { for (h in k) print k[h] "\t" h }' | sort > "$tmp/headers"

# Owning package of each header. dpkg may know a file by another name: through a
# symbolic link, or with or without /usr (merged /usr).
owners() {  # reads "query<TAB>header" lines, prints "package<TAB>header"
  local -A header_of=()
  local q h
  while IFS=$'\t' read -r q h; do header_of[$q]=$h; done
  [[ ${#header_of[@]} -gt 0 ]] || return 0
  printf '%s\0' "${!header_of[@]}" | xargs -0 dpkg -S 2>/dev/null \
    | awk '!/^diversion by/ { i = index($0, ": /"); print substr($0, 1, i - 1) "\t" substr($0, i + 2) }' \
    | while IFS=$'\t' read -r pkgs q; do
        [[ -n ${header_of[$q]:-} ]] || continue
        for p in ${pkgs//,/ }; do printf '%s\t%s\n' "${p%%:*}" "${header_of[$q]}"; done
      done
}
cut -f2 "$tmp/headers" | awk '{ print $0 "\t" $0 }' | owners > "$tmp/owned"
unowned() { cut -f2 "$tmp/headers" | grep -vxFf <(cut -f2 "$tmp/owned") || true; }
unowned | while read -r h; do printf '%s\t%s\n' "$(realpath -m "$h")" "$h"; done | owners >> "$tmp/owned"
unowned | while read -r h; do
  if [[ $h == /usr/* ]]; then printf '%s\t%s\n' "${h#/usr}" "$h"; else printf '/usr%s\t%s\n' "$h" "$h"; fi
done | owners >> "$tmp/owned"

# The packages install-deps lists, read from its two arrays.
pkg_list() {
  awk -v name="$1" '
    $0 ~ "^" name "=\\(" { on = 1; sub(/^[^(]*\(/, "") }
    on { line = $0; sub(/#.*/, "", line); done = sub(/\).*/, "", line); printf "%s ", line; if (done) exit }' \
    "$deps_script" | tr -s ' \t' '\n' | grep -v '^$' || true
}
pkg_list build_pkgs > "$tmp/build_pkgs"
pkg_list test_pkgs > "$tmp/test_pkgs"
[[ -s $tmp/build_pkgs && -s $tmp/test_pkgs ]] || { echo "no package lists found in $deps_script" >&2; exit 1; }

# Installed packages with what they provide and depend on, then the closure of a list
# over Depends and Pre-Depends (every installed alternative and provider counts).
dpkg-query -W -f='${db:Status-Abbrev}\t${Package}\t${Provides}\t${Depends}, ${Pre-Depends}\n' \
  | awk -F'\t' '$1 ~ /^.i/' > "$tmp/installed"
closure() {
  awk -F'\t' '
    FNR == NR { queue[++n] = $1; next }
    { real[$2] = 1; depends[$2] = $4
      m = split($3, pv, /, */)
      for (i = 1; i <= m; i++) { v = pv[i]; sub(/ .*/, "", v); if (v != "") provided[v] = provided[v] " " $2 } }
    END {
      for (i = 1; i <= n; i++) {
        names = (queue[i] in real ? queue[i] : "") provided[queue[i]]
        m = split(names, cand, " ")
        for (j = 1; j <= m; j++) {
          p = cand[j]
          if (p in seen) continue
          seen[p] = 1; print p
          d = split(depends[p], dep, /[,|]/)
          for (k = 1; k <= d; k++) {
            x = dep[k]; sub(/\(.*/, "", x); gsub(/[ \t]/, "", x); sub(/:.*/, "", x)
            if (x != "") queue[++n] = x } } } }' "$1" "$tmp/installed" | sort -u
}
closure "$tmp/build_pkgs" > "$tmp/build_closure"
cat "$tmp/build_pkgs" "$tmp/test_pkgs" > "$tmp/all_pkgs"
closure "$tmp/all_pkgs" > "$tmp/all_closure"

# A header is covered when one of its owners is in the closure of its kind; each
# missing package is reported once, with one header that needs it.
join -t$'\t' -1 2 -2 2 <(sort -t$'\t' -k2,2 "$tmp/headers") \
  <(sort -u "$tmp/owned" | sort -t$'\t' -k2,2) > "$tmp/needs"    # header kind package
awk -F'\t' 'FILENAME == ARGV[1] { in_build[$1] = 1; next }
  FILENAME == ARGV[2] { in_all[$1] = 1; next }
  { kind[$1] = $2; owners[$1] = owners[$1] (owners[$1] == "" ? "" : " or ") $3
    if ($2 == "run" ? ($3 in in_build) : ($3 in in_all)) covered[$1] = 1 }
  END {
    for (h in kind) if (!(h in covered) && !seen[owners[h]]++) {
      if (kind[h] == "run")
        printf "%s (e.g. %s) is neither among the build packages of install-deps nor pulled in by them\n", owners[h], h
      else
        printf "%s (e.g. %s) is neither listed in install-deps nor pulled in by what it lists\n", owners[h], h } }' \
  "$tmp/build_closure" "$tmp/all_closure" "$tmp/needs" | sort > "$tmp/report"
unowned > "$tmp/unowned"
if [[ -s $tmp/report || -s $tmp/unowned ]]; then
  cat "$tmp/report"
  sed 's/^/not from any Debian package: /' "$tmp/unowned"
  echo "FAIL: add the packages above to scripts/install-deps ($deps_script)"
  exit 1
fi
echo "ok: $(wc -l < "$tmp/headers") system headers from $(cut -f1 "$tmp/owned" | sort -u | wc -l) packages, all installed by install-deps"
