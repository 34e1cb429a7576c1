#!/usr/bin/env bash
# The editor run with --screenshot has nobody to click a message away: on a truncated people_db.dat
# and on a missing installation it prints the message and its details, naming the file, on stderr
# and exits with status 2 within seconds; on a sound database it writes the pictures and exits 0.
set -u
editor="$1"
db="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
export QT_QPA_PLATFORM=offscreen

# Runs the editor on an installation; the status in $status, what it printed in $work/err.
shoot() {
    timeout 20 "$editor" --path "$1" --screenshot "$work/shots" >/dev/null 2>"$work/err"
    status=$?
    [ "$status" -ne 124 ] || fail "$1: still running after 20 s"
}

"$db" generate "$work/sound/data" --people 2000 >/dev/null || fail "generate"
mkdir -p "$work/truncated/data"
cp "$work/sound/data/server_db.dat" "$work/truncated/data/"
head -c 5000 "$work/sound/data/people_db.dat" >"$work/truncated/data/people_db.dat"

shoot "$work/truncated"
[ "$status" -eq 2 ] || fail "truncated people_db.dat: exit code $status instead of 2"
grep -q "Unable to access the data files" "$work/err" || fail "truncated people_db.dat: no message"
grep -q "people_db.dat" "$work/err" || fail "truncated people_db.dat: the file is not named"

shoot "$work/missing"
[ "$status" -eq 2 ] || fail "missing installation: exit code $status instead of 2"
grep -q "server_db.dat" "$work/err" || fail "missing installation: the file is not named"

shoot "$work/sound"
[ "$status" -eq 0 ] || fail "sound database: exit code $status; $(cat "$work/err")"
[ -s "$work/shots/main-staff.png" ] || fail "sound database: no picture written"
echo "OK"
