#!/usr/bin/env bash
# Installs the build into a temporary prefix and uses it as a desktop user would.
source "$(dirname "$0")/../e2e/lib.sh"
build=$1
prefix=$WORK/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install"

for f in bin/tamber bin/tamber-cli share/tamber/res/kanterel.tamberfont share/tamber/res/texturepack \
         share/applications/tamber.desktop share/icons/hicolor/128x128/apps/tamber.png \
         share/man/man1/tamber-cli.1 share/bash-completion/completions/tamber-cli; do
  [[ -s "$prefix/$f" ]] || fail "not installed: $f"
done
[[ -e "$prefix/share/tamber/res/prefs.txt" ]] && fail "the build's preferences were installed"

desktop-file-validate "$prefix/share/applications/tamber.desktop" || fail "desktop entry refused"
page=$(MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/tamber-cli.1" 2>"$WORK/man-warnings.txt")
[[ -s "$WORK/man-warnings.txt" ]] && fail "man page warnings: $(cat "$WORK/man-warnings.txt")"
grep -q "archive extract" <<<"$page" || fail "man page lacks the commands"

# Completion: command words, then a command's options.
complete_words() {
  bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _tamber_cli; echo "${COMPREPLY[*]}"' \
    _ "$prefix/share/bash-completion/completions/tamber-cli" tamber-cli "$@"
}
[[ $(complete_words arch) == archive ]] || fail "completion of the first word"
[[ $(complete_words archive "") == "list extract" ]] || fail "completion of the second word"
[[ $(complete_words archive extract x --f) == --force ]] || fail "completion of an option"

# The installed program, started from elsewhere, runs in its configuration folder:
# resources read through links to the shipped files, the preferences written there
# as the user's own file, the shipped tree untouched.
export XDG_CONFIG_HOME=$WORK/config
mkdir -p "$WORK/elsewhere"
(cd "$WORK/elsewhere" && exec "$prefix/bin/tamber" >"$WORK/stdout.txt" 2>"$WORK/stderr.txt") &
TAMBER_PID=$!
user=$XDG_CONFIG_HOME/tamber
for _ in $(seq 300); do
  grep -qxF "Entering main loop..." "$user/tamber_log.txt" 2>/dev/null && break
  kill -0 "$TAMBER_PID" 2>/dev/null || fail "the installed program ended: $(cat "$WORK/stderr.txt")"
  sleep 0.1
done
grep -qxF "Entering main loop..." "$user/tamber_log.txt" || fail "the installed program did not start"
quit_tamber
[[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE"
[[ -L "$user/res/kanterel.tamberfont" ]] || fail "the font is not a link to the shipped file"
[[ -f "$user/res/prefs.txt" && ! -L "$user/res/prefs.txt" ]] || fail "no preferences of the user's own"
grep -qx 'ShowSplash 0' "$user/res/prefs.txt" || fail "preferences not written"
[[ -e "$prefix/share/tamber/res/prefs.txt" ]] && fail "the program wrote into the shipped resources"
[[ -z "$(ls -A "$WORK/elsewhere")" ]] || fail "the program wrote into the folder it was started from"
echo "install: ok"
