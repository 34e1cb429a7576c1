#!/usr/bin/env bash
# The programs as a user gets them: installed with `cmake --install` into a temporary root and run
# from there, away from the build, on a generated database (2000 people give the screenshots a club
# with every page). The installed desktop entry and AppStream metadata must pass their validators,
# and every program and manual page must carry the project's version.
#   installed-programs-run.sh BUILD_DIR SOURCE_DIR VERSION APP_ID
# With KORDO_INSTALLED_ROOT set, the programs already installed there (an unpacked package) are run.
set -u
build="$1" source="$2" version="$3" app="$4"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

root="${KORDO_INSTALLED_ROOT:-$work/root}"
if [ -z "${KORDO_INSTALLED_ROOT:-}" ]; then
    DESTDIR="$root" cmake --install "$build" --prefix /usr --strip >"$work/install.log" 2>&1 ||
        { cat "$work/install.log"; fail "cmake --install"; }
fi
bin="$root/usr/bin" share="$root/usr/share"
for file in bin/kordo-db bin/kordo-pregame-editor "share/applications/$app.desktop" \
    "share/metainfo/$app.metainfo.xml" "share/icons/hicolor/scalable/apps/$app.svg" \
    share/man/man1/kordo-db.1.gz share/man/man1/kordo-pregame-editor.1.gz; do
    [ -f "$root/usr/$file" ] || fail "not installed: /usr/$file"
done

desktop-file-validate "$share/applications/$app.desktop" || fail "the desktop entry does not validate"
appstreamcli validate --no-net "$share/metainfo/$app.metainfo.xml" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log"; fail "the AppStream metadata does not validate"; }

for program in kordo-db kordo-pregame-editor; do
    # Sanitizers and assertions name source files in their reports; any other path is baked in.
    baked=$(strings -n 8 "$bin/$program" | grep -F -e "$source" -e "$build" | grep -v -E '\.(h|cpp)$')
    [ -z "$baked" ] || fail "$program holds a path of the source or build folder: $baked"
    zcat "$share/man/man1/$program.1.gz" | grep -q -F "$program $version" || fail "the manual page of $program"
done
grep -a -q -F "Kordo Pregame Editor v. $version" "$bin/kordo-pregame-editor" || fail "the About box's version"

# A home of its own, so that nothing is written to the user's.
export HOME="$work/home" XDG_DATA_HOME="$work/home/data" XDG_CONFIG_HOME="$work/home/config"
cd "$work" || fail "cd"
[ "$("$bin/kordo-db" --version)" = "kordo-db $version" ] || fail "kordo-db --version"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$bin/kordo-pregame-editor" --version)" = "kordo-pregame-editor $version" ] ||
    fail "kordo-pregame-editor --version without a display"
env -u DISPLAY -u WAYLAND_DISPLAY "$bin/kordo-pregame-editor" --help | grep -q -- "--screenshot" ||
    fail "kordo-pregame-editor --help without a display"

"$bin/kordo-db" generate "$work/game/data" --people 2000 >/dev/null || fail "generate"
"$bin/kordo-db" check "$work/game/data" || fail "check of the generated database"
"$bin/kordo-db" roundtrip "$work/game/data" "$work/copy" || fail "roundtrip"
"$bin/kordo-db" check "$work/copy" >/dev/null || fail "check of the saved copy"
QT_QPA_PLATFORM=offscreen "$bin/kordo-pregame-editor" --path "$work/game" --screenshot "$work/shots" ||
    fail "the editor's screenshots"
for shot in main-staff main-clubs club-general; do
    [ -s "$work/shots/$shot.png" ] || fail "no $shot.png"
done
echo "installed programs ran from $root"
