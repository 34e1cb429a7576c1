#!/usr/bin/env bash
# kordo-db as several users run it at once and on odd folders: a second writer fails at once with a
# clear message while the first (slowed down) finishes, a reader waits for the whole new pair, a FIFO
# as a data file is refused without waiting, generate and export refuse to overwrite what they must
# not, an export that fails keeps the old file, and output to a full device fails every command.
set -u
source "$(dirname "$0")/traced-kordo-db.sh"

"$db" generate "$work/a" --people 300 --seed 2 >/dev/null || fail "generate"
"$db" generate "$work/b" --people 200 --seed 3 >/dev/null || fail "generate"
"$db" roundtrip "$work/a" "$work/new" || fail "the save to compare with"
"$db" generate "$work/d" --people 100 --seed 5 >/dev/null || fail "generate"
cp -r "$work/d" "$work/old"

# Two writers: the first is held up for two seconds at its first flush to disk, inside its save.
traced -e inject=fsync:delay_enter=2000000:when=1 "$db" roundtrip "$work/a" "$work/d" \
    2>"$work/slow.err" &
slow=$!
# Its temporaries show that it holds the folder.
for ((i = 0; i < 100; i++)); do
    [ -n "$(find "$work/d" -name '*.kordo-tmp')" ] && break
    sleep 0.05
done
start=$(date +%s%N)
"$db" roundtrip "$work/b" "$work/d" 2>"$work/err"
code=$?
[ $code -eq 2 ] || fail "the second writer exits $code"
[ $(($(date +%s%N) - start)) -lt 1000000000 ] || fail "the second writer waited"
grep -q "the data folder is being saved by another program" "$work/err" || fail "message: $(cat "$work/err")"
# A reader meanwhile waits for the save and then sees one whole pair: check finds nothing mixed.
"$db" check "$work/d" >"$work/check" 2>&1 || fail "check during the save: $(cat "$work/check")"
wait $slow || fail "the first writer failed: $(cat "$work/slow.err")"
same "$work/d" "$work/new" || fail "the folder does not hold the first writer's pair"
same "$work/d" "$work/old" .bak || fail "the backups are not the pair from before"
"$db" check "$work/d" >/dev/null || fail "check after the save"

# A FIFO as a data file: refused at once, by name, by every command.
mkdir "$work/fifo" && cp "$work/old/server_db.dat" "$work/fifo/" && mkfifo "$work/fifo/people_db.dat"
for command in info check roundtrip; do
    args=("$work/fifo")
    [ $command = roundtrip ] && args=("$work/a" "$work/fifo")
    timeout 10 "$db" $command "${args[@]}" >/dev/null 2>"$work/err"
    code=$?
    [ $code -eq 2 ] || fail "$command with a FIFO: exit $code"
    grep -q "people_db.dat.*FIFO" "$work/err" || fail "$command with a FIFO: $(cat "$work/err")"
done

# generate keeps an existing database unless told otherwise, and then keeps it as the backups.
"$db" generate "$work/d" --people 50 >/dev/null 2>"$work/err" && fail "generate over a database"
grep -q "already holds" "$work/err" || fail "generate: $(cat "$work/err")"
same "$work/d" "$work/new" || fail "generate changed the refused folder"
"$db" generate "$work/d" --people 50 --force >/dev/null || fail "generate --force"
same "$work/d" "$work/new" .bak || fail "generate --force kept no backups"

# export: never over the database's own files; a failed export leaves the old file.
"$db" export "$work/a" --clubs --out "$work/a/people_db.dat" 2>/dev/null && fail "export over people_db.dat"
"$db" info "$work/a" >/dev/null || fail "the refused export damaged the database"
printf 'old export\n' >"$work/out.csv"
(trap '' XFSZ; ulimit -f 8; "$db" export "$work/a" --people --out "$work/out.csv") 2>"$work/err" &&
    fail "an export past the file size limit succeeded"
grep -q "File too large" "$work/err" || fail "no reason: $(cat "$work/err")"
[ "$(cat "$work/out.csv")" = "old export" ] || fail "the failed export changed the old file"
[ -z "$(find "$work" -maxdepth 1 -name '*.kordo-tmp')" ] || fail "the failed export left a temporary"
"$db" export "$work/a" --people --out "$work/out.csv" || fail "export"
head -1 "$work/out.csv" | grep -q '^ID,DisplayName' || fail "export wrote no table"

# Output that cannot be written fails the command.
for command in "info $work/a" "check $work/a" "export $work/a --nations" "--help"; do
    $db $command >/dev/full 2>"$work/err"
    code=$?
    [ $code -eq 2 ] || fail "$command > /dev/full: exit $code"
    grep -q "cannot write to standard output" "$work/err" || fail "$command: $(cat "$work/err")"
done
echo "OK"
