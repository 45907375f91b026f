#!/bin/sh
# Every line tvui writes goes through its one log writer to standard error,
# whole: nothing reaches standard output, whose buffer would land its lines
# in the middle of the log's when both streams go to one file.
#   one_log_stream.sh TVUI KEYS
tvui="$1"; keys="$2"
work=$(mktemp -d "${TMPDIR:-/tmp}/tvui-logstream-XXXXXX")
trap 'rm -rf "$work"' EXIT
"$tvui" --headless --keys "$keys" --data-dir "$work/data" >"$work/out.txt" 2>"$work/err.txt"
status=$?
fail() { echo "--- standard output:"; cat "$work/out.txt"; echo "--- standard error:"; cat "$work/err.txt"; echo "one log stream: $1"; exit 1; }
[ $status -eq 0 ] || fail "tvui ended with status $status"
[ -s "$work/out.txt" ] && fail "lines on standard output"
grep -q "^tvui: television on-screen display" "$work/err.txt" || fail "no start line in the log"
grep -q "^tvui: stopped$" "$work/err.txt" || fail "no end line in the log"
echo "one log stream: ok"
