#!/usr/bin/env bash
# Installs the build tree into a temporary DESTDIR and runs what was installed:
# the programs' versions, kt41ctl on the installed rescue configuration, and
# kt41-config started offscreen from a folder without data files, which must
# make its first-run copies from share/kt41-config. The desktop entry must pass
# desktop-file-validate.
#   install_test.sh <build dir> <expected version>
set -euo pipefail
build=$1
version=$2

work=$(mktemp -d)
gui_pid=""
cleanup() {
    if [ -n "$gui_pid" ]; then kill "$gui_pid" 2>/dev/null || true; wait "$gui_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log" || {
    cat "$work/install.log" >&2
    fail "cmake --install"
}
usr=$root/usr
share=$usr/share/kt41-config
rescue="$share/CNF/R50_№ Rescue.c50"
template="$share/Шаблоны_Архива/Шаблон Orvald.xltx"

for f in "$usr/bin/kt41-config" "$usr/bin/kt41ctl" "$usr/bin/kt41-sim" "$rescue" "$template" \
    "$usr/share/applications/kt41-config.desktop" \
    "$usr/share/icons/hicolor/48x48/apps/kt41-config.png" \
    "$usr/share/icons/hicolor/scalable/apps/kt41-config.svg" \
    "$usr/share/man/man1/kt41ctl.1.gz" "$usr/share/man/man1/kt41-sim.1.gz"; do
    [ -e "$f" ] || fail "not installed: ${f#$root}"
done

for program in kt41-config kt41ctl kt41-sim; do
    got=$("$usr/bin/$program" --version)
    [ "$got" = "$program $version" ] || fail "$program --version printed '$got'"
done

listing=$(cd "$work" && "$usr/bin/kt41ctl" show "$rescue") || fail "kt41ctl show on the rescue file"
[ "$(printf '%s\n' "$listing" | wc -l)" -gt 50 ] || fail "kt41ctl show listed too little"

desktop-file-validate "$usr/share/applications/kt41-config.desktop" ||
    fail "desktop-file-validate rejects the entry"
zcat "$usr/share/man/man1/kt41ctl.1.gz" | grep -q '^\.TH KT41CTL 1' || fail "kt41ctl man page"

# The GUI in an empty folder, with a home of its own: the rescue file and the
# template are copied into the documents folder from share/kt41-config.
home=$work/home
empty=$work/empty
mkdir -p "$home" "$empty"
(cd "$empty" && exec env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen \
    XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
    XDG_RUNTIME_DIR="$work" "$usr/bin/kt41-config" >"$work/gui.log" 2>&1) &
gui_pid=$!
product="$home/Documents/Orvald/Конфигурация KT-41"
copied_rescue="$product/CNF/R50_№ Rescue.c50"
copied_template="$product/Шаблоны_Архива/Архив KT-41.xltx"
for _ in $(seq 1 300); do
    [ -f "$copied_rescue" ] && [ -f "$copied_template" ] && break
    kill -0 "$gui_pid" 2>/dev/null || { cat "$work/gui.log" >&2; fail "kt41-config ended early"; }
    sleep 0.1
done
[ -f "$copied_rescue" ] || { cat "$work/gui.log" >&2; fail "no first-run copy of the rescue file"; }
[ -f "$copied_template" ] || { cat "$work/gui.log" >&2; fail "no first-run copy of the template"; }
cmp -s "$rescue" "$copied_rescue" || fail "the rescue copy differs from share/kt41-config"
cmp -s "$template" "$copied_template" || fail "the template copy differs from share/kt41-config"
[ -z "$(ls -A "$empty")" ] || fail "kt41-config wrote into the folder it was started from"
echo "installed tree OK"
