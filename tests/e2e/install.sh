#!/usr/bin/env bash
# The installation: cmake --install puts the programs, man pages and templates in a prefix;
# the installed tool packs a small (stripped) saver and installs it for XScreenSaver: the
# saver, its hack description, a desktop entry and its line in ~/.xscreensaver, every other
# line kept and the old file backed up; --dry-run changes nothing.
source "$(dirname "$0")/lib.sh"
: "${ML_BUILD:?ML_BUILD must name the build folder}"

prefix=$E2E_WORK/prefix
cmake --install "$ML_BUILD" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
for file in bin/mirrorlake bin/mirrorlake-tool share/man/man6/mirrorlake.6 \
  share/man/man1/mirrorlake-tool.1 share/mirrorlake/xscreensaver-hack.xml share/mirrorlake/saver.desktop; do
  [ -f "$prefix/$file" ] || fail "cmake --install did not install $file"
done
# parse_xml FILE: prints the saver's name and label, or fails when the XML does not parse.
parse_xml() {
  python3 -c 'import sys, xml.dom.minidom as m
root = m.parse(sys.argv[1]).documentElement
print(root.tagName, root.getAttribute("name"), root.getAttribute("_label"))' "$1" ||
    fail "$1 is not well-formed XML"
}
parse_xml "$prefix/share/mirrorlake/xscreensaver-hack.xml" >/dev/null

# The installed tool packs with the installed program, stripped.
make_water_saver "$E2E_WORK/unused.scr"
"$prefix/bin/mirrorlake-tool" pack "$E2E_WORK/water" -o "$E2E_WORK/lake.scr" >/dev/null ||
  fail "the installed tool did not pack"
size=$(stat -c %s "$E2E_WORK/lake.scr")
[ "$size" -lt 4000000 ] || fail "the packed saver takes $size bytes: its program was not stripped"
run_saver packed "$E2E_WORK/lake.scr" --help
expect_text packed.out 'It carries "Lake"' "the packed saver"

export HOME=$E2E_WORK/home
mkdir -p "$HOME"
printf 'mode:\t\tone\nselected:\t1\nprograms:\t\t\\\n\t\tmaze --root\t\\n\\\n-\t\tripples --root\t\\n\\\n\n\nlock:\t\tFalse\n' \
  >"$HOME/.xscreensaver"
cp "$HOME/.xscreensaver" "$E2E_WORK/original"
run_saver dry "$prefix/bin/mirrorlake-tool" install "$E2E_WORK/lake.scr" --dry-run
expect_rc 0 "install --dry-run"
expect_text dry.out "\"Lake\"  $HOME/.local/libexec/mirrorlake/lake.scr --root" "install --dry-run"
cmp -s "$HOME/.xscreensaver" "$E2E_WORK/original" || fail "install --dry-run changed ~/.xscreensaver"
[ ! -e "$HOME/.local" ] || fail "install --dry-run wrote $(find "$HOME/.local" -type f)"

run_saver install "$prefix/bin/mirrorlake-tool" install "$E2E_WORK/lake.scr"
expect_rc 0 "install"
cmp -s "$HOME/.xscreensaver.bak" "$E2E_WORK/original" || fail "~/.xscreensaver.bak is not the file as it was"
# Installed again, the entry is replaced, not added twice.
run_saver again "$prefix/bin/mirrorlake-tool" install "$E2E_WORK/lake.scr"
expect_rc 0 "install again"
saver=$HOME/.local/libexec/mirrorlake/lake.scr
[ -x "$saver" ] || fail "the saver was not installed"
[ "$(grep -c "lake.scr --root" "$HOME/.xscreensaver")" = 1 ] || fail "the entry is not there once"
for line in "mode:		one" "selected:	1" "		maze --root	\\n\\" "-		ripples --root	\\n\\" "lock:		False"; do
  grep -qxF -- "$line" "$HOME/.xscreensaver" || fail "install lost the line '$line'"
done
# The new entry comes after the others, so "selected: 1" still names the same hack.
[ "$(grep -n 'lake.scr' "$HOME/.xscreensaver" | cut -d: -f1)" -gt "$(grep -n ripples "$HOME/.xscreensaver" | cut -d: -f1)" ] ||
  fail "the entry was not added at the end of the list"
[ "$(parse_xml "$HOME/.local/share/xscreensaver/config/lake.scr.xml")" = "screensaver lake.scr Lake" ] ||
  fail "the hack description names the wrong saver"
grep -qxF "Exec=$saver /C" "$HOME/.local/share/applications/mirrorlake-lake.desktop" ||
  fail "the desktop entry does not open the configuration window"
echo "install: all checks passed"
