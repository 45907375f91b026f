#!/bin/sh
# The mutant planter on a small unit of its own, with a grep for a build
# and a test: it reports caught, survived and not compiling mutants, leaves
# comments, strings and log calls alone, and puts the file back byte for
# byte, after a normal run, after SIGTERM and after a run killed outright.
#   mutants_test.sh MUTANTS_PY
tool="$1"
tmp=$(mktemp -d "${TMPDIR:-/tmp}/mutants-XXXXXX")
trap 'rm -rf "$tmp"' EXIT
fail=0
mkdir -p "$tmp/src/units/Toy"
cat >"$tmp/src/units/Toy/Toy.cpp" <<'EOF2'
// A comment with 3 < 4 that stays.
int Toy(int a) {
  if (a > 1) return 2;
  Log("a == %d", 1);
  return 0;
}
EOF2
cp "$tmp/src/units/Toy/Toy.cpp" "$tmp/orig.cpp"
run() {  # BUILD_CMD TEST_CMD
  python3 "$tool" --top "$tmp" --unit src/units/Toy --n 10 --seed 1 --build build --jobs 1 \
    --build-cmd "$1" --test-cmd "$2" >"$tmp/out.txt" 2>&1
}
slow() {  # in the background, the test taking its time
  python3 "$tool" --top "$tmp" --unit src/units/Toy --n 10 --seed 1 --build build --jobs 1 \
    --build-cmd true --test-cmd "cmp -s src/units/Toy/Toy.cpp orig.cpp || sleep 5" >"$tmp/out.txt" 2>&1 &
  pid=$!
  i=0
  while cmp -s "$tmp/orig.cpp" "$tmp/src/units/Toy/Toy.cpp" && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
  sleep 0.3
}
# The test fails (catches) while the condition line is whole.
run true "grep -q 'if (a > 1) return 2;' src/units/Toy/Toy.cpp"
grep -q '5 places' "$tmp/out.txt" || { echo "FAIL: not the five places of code"; fail=1; }
grep -q '5 planted, 0 do not compile, 4 caught, 1 survived' "$tmp/out.txt" || { echo "FAIL: the tally"; fail=1; }
grep -q '^+  if (!(a > 1)) return 2;' "$tmp/out.txt" || { echo "FAIL: no negated condition in the diffs"; fail=1; }
grep -q 'SURVIVED' "$tmp/out.txt" || { echo "FAIL: no survivor reported"; fail=1; }
cmp -s "$tmp/orig.cpp" "$tmp/src/units/Toy/Toy.cpp" || { echo "FAIL: the file was not restored"; fail=1; }
# A mutant that does not build is reported so and not counted.
run "! grep -q 'a <= 1' src/units/Toy/Toy.cpp" "grep -q 'if (a > 1) return 2;' src/units/Toy/Toy.cpp"
grep -q '5 planted, 1 do not compile, 3 caught, 1 survived' "$tmp/out.txt" || { echo "FAIL: a failed build"; fail=1; }
cmp -s "$tmp/orig.cpp" "$tmp/src/units/Toy/Toy.cpp" || { echo "FAIL: not restored after a failed build"; fail=1; }
# Stopped while a test runs: the file comes back.
slow
kill -TERM $pid
wait $pid
cmp -s "$tmp/orig.cpp" "$tmp/src/units/Toy/Toy.cpp" || { echo "FAIL: not restored after SIGTERM"; fail=1; }
# Killed outright: the next run puts the file back first.
slow
cmp -s "$tmp/orig.cpp" "$tmp/src/units/Toy/Toy.cpp" && { echo "FAIL: no mutant planted"; fail=1; }
kill -KILL $pid
wait $pid 2>/dev/null
python3 "$tool" --top "$tmp" --unit src/units/Toy --build build --list >/dev/null 2>&1
cmp -s "$tmp/orig.cpp" "$tmp/src/units/Toy/Toy.cpp" || { echo "FAIL: not restored by the next run"; fail=1; }
[ $fail -eq 0 ] && echo "mutants self-test: ok"
exit $fail
