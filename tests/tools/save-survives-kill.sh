#!/usr/bin/env bash
# kordo-db roundtrip killed (SIGKILL) at every file-system call of its save: before each openat,
# write, fsync, link, rename and unlink in turn. After every kill the folder loads by itself and holds
# the old pair or the new pair byte for byte, with the backup pair that belongs to it, and the next
# save works and leaves no temporary behind.
set -u
source "$(dirname "$0")/traced-kordo-db.sh"

"$db" generate "$work/in" --people 300 --seed 2 >/dev/null || fail "generate"
"$db" roundtrip "$work/in" "$work/new" || fail "the save to compare with"
"$db" generate "$work/old" --people 200 --seed 5 >/dev/null || fail "generate"
"$db" generate "$work/oldbak" --people 100 --seed 9 >/dev/null || fail "generate"
mkdir "$work/start"
for f in $files; do
    cp "$work/old/$f" "$work/start/$f"
    cp "$work/oldbak/$f" "$work/start/$f.bak"
done

kills=0
for call in openat write fsync link rename unlink; do
    for ((k = 1; ; k++)); do
        rm -rf "$work/d" && cp -r "$work/start" "$work/d"
        # In a subshell, so that the shell's note about the killed job goes nowhere.
        (traced -e inject="$call:signal=SIGKILL:when=$k" "$db" roundtrip "$work/in" "$work/d"; exit $?) \
            >/dev/null 2>"$work/err"
        code=$?
        if [ $code -ne 137 ]; then # not killed: no such call was left to stop at
            [ $code -eq 0 ] || fail "$call number $k: the save failed ($code): $(cat "$work/err")"
            break
        fi
        kills=$((kills + 1))
        where="killed at $call number $k"
        "$db" info "$work/d" >/dev/null 2>"$work/err" || fail "$where: the folder does not load: $(cat "$work/err")"
        if same "$work/d" "$work/new"; then
            same "$work/d" "$work/old" .bak || fail "$where: new pair without the old pair as backups"
        elif same "$work/d" "$work/old"; then
            same "$work/d" "$work/oldbak" .bak || fail "$where: the backup pair changed"
        else
            fail "$where: neither the old nor the new pair"
        fi
        "$db" roundtrip "$work/in" "$work/d" 2>"$work/err" || fail "$where: the next save fails: $(cat "$work/err")"
        same "$work/d" "$work/new" || fail "$where: the next save did not write the new pair"
        leftovers=$(find "$work/d" -name '*.kordo-tmp' -o -name .kordo-commit)
        [ -z "$leftovers" ] || fail "$where: left behind: $leftovers"
    done
done
[ $kills -gt 40 ] || fail "only $kills kills: the walk did not reach the save"
echo "OK: $kills kills, each left the old or the new pair"
