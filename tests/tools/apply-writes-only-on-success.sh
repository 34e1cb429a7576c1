#!/usr/bin/env bash
# kordo-db apply writes OUT_DIR only when every operation ran: a script failing at its last
# operation, a broken sheet and a script that is not JSON leave no folder behind; a good one saves.
set -u
db="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$db" generate "$work/data" --people 300 >/dev/null || fail "generate"
id=$("$db" export "$work/data" --people | sed -n 2p | cut -d, -f1)
[ -n "$id" ] || fail "no person exported"

cat >"$work/bad.json" <<JSON
{"ops": [{"op": "edit_staff", "id": $id, "set": [["seApps", 12]]},
         {"op": "edit_staff", "id": $id, "set": [["edPictureID", "7"]]}]}
JSON
printf 'ID,seApps\n%s,notanumber\n' "$id" >"$work/bad.csv"
printf '{"ops": [' >"$work/broken.json"
for run in "bad.json" "--csv bad.csv" "broken.json"; do
    set -- $run
    if [ "$1" = "--csv" ]; then args=(--csv "$work/$2"); else args=("$work/$1"); fi
    "$db" apply "$work/data" "${args[@]}" "$work/out" 2>"$work/err"
    [ $? -eq 2 ] || fail "$run: exit code $? instead of 2"
    [ -e "$work/out" ] && fail "$run: OUT_DIR was written"
    [ -s "$work/err" ] || fail "$run: no reason printed"
done
grep -q "operation 2" <("$db" apply "$work/data" "$work/bad.json" "$work/out" 2>&1) ||
    fail "the failing operation is not named"

cat >"$work/good.json" <<JSON
{"ops": [{"op": "edit_staff", "id": $id, "set": [["seApps", 12]]}]}
JSON
"$db" apply "$work/data" "$work/good.json" "$work/out" || fail "good script: exit code $?"
[ -s "$work/out/people_db.dat" ] && [ -s "$work/out/server_db.dat" ] || fail "good script: nothing saved"
echo "OK"
