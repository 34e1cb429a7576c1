# Sourced by the scripts that run kordo-db under strace; $1 is the kordo-db to run. Gives `db`, a
# scratch folder `work` (removed on exit, with any job left running), `traced`, `fail`, `files` and
# `same`; skips (exit 77) where strace cannot trace.
db="$1"
command -v strace >/dev/null && strace -o /dev/null true 2>/dev/null || { echo "SKIP: strace cannot trace here"; exit 77; }
# Runs a command under strace; LeakSanitizer cannot run under a tracer, so a sanitizer build is traced
# without it.
traced() { ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" strace -f -o /dev/null "$@"; }
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
files="server_db.dat people_db.dat"
same() { # same FOLDER1 FOLDER2 [SUFFIX]: the pair (or backup pair) of both folders is identical
    for f in $files; do cmp -s "$1/$f${3:-}" "$2/$f" || return 1; done
}
