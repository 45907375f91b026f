#!/bin/sh
# Runs valgrind with the arguments given and keeps its status, but for one
# case. Valgrind decodes only the instructions its host CPU lists; a shared
# library whose start-up code uses another one (libhwy reads its timer with
# RDTSCP, which some virtual CPUs do not list) stops it before the program
# starts. Such a run checks nothing of ours: it says so and ends with status
# 77, which ctest counts as skipped, not passed. An unknown instruction met
# after start-up still fails the run.
log=$(mktemp "${TMPDIR:-/tmp}/valgrind-run-XXXXXX")
trap 'rm -f "$log"' EXIT
"$@" 2>"$log"
status=$?
cat "$log" >&2
if [ $status -ne 0 ] && grep -q "valgrind: Unrecognised instruction" "$log" &&
   sed -n '/valgrind: Unrecognised instruction/,/Your program just tried/p' "$log" | grep -q "_dl_init"; then
  echo "valgrind_run.sh: valgrind cannot decode an instruction of a library's start-up code on this CPU" \
       "(above); nothing was checked, the run is skipped"
  exit 77
fi
exit $status
