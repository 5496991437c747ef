#!/usr/bin/env bash
# mutate.sh [LIST] [BUILD_DIR] [FILTER]: a mutation round. Applies each single-line fault of LIST
# (scripts/mutations.txt by default) alone to the source tree, rebuilds the tests it names in
# BUILD_DIR (build-mutate by default, configured without benchmarks), runs them, and puts the
# source back. A fault that no test notices "survives": the tally at the end lists those, which
# want a test. FILTER, a regex, keeps only the faults whose "file: after" it matches (to rerun
# the survivors).
#
# Each fault in LIST is four lines, then a blank line:
#   file           the source file, from the repository root
#   before         text that occurs exactly once in the file
#   after          what it becomes (the fault)
#   tests          the CTest targets to build and the test-name pattern (regex) to run: TARGETS|REGEX
# Lines starting with # between faults are comments. The whole list is checked, and the unchanged
# tree must build and pass the tests it names, before any fault is applied. Exit status: 0 when
# every fault was caught, 1 when some survived, 2 when the list, the build or the tests are broken.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
list=${1:-scripts/mutations.txt}
dir=${2:-build-mutate}
filter=${3:-}
jobs=2
export QT_QPA_PLATFORM=offscreen

fail() { echo "mutate: $*" >&2; echo "mutate: FAILED" >&2; exit 2; }
[[ -f $list ]] || fail "no list $list"
command -v perl >/dev/null || fail "perl is needed"

# A round that was killed outright leaves its last fault in the source: put the file back first.
backup=$dir/mutate-backup
backup_of=$dir/mutate-backup.path
if [[ -f $backup_of ]]; then
  cp "$backup" "$(cat "$backup_of")" && echo "mutate: restored $(cat "$backup_of") from an earlier round"
  rm -f "$backup" "$backup_of"
fi
restore() {
  [[ -f $backup_of ]] || return 0
  cp "$backup" "$(cat "$backup_of")"
  rm -f "$backup" "$backup_of"
}
log=$(mktemp)
trap 'restore; rm -f "$log"' EXIT
trap 'echo "mutate: interrupted" >&2; exit 2' INT TERM

# How often text $2 occurs in file $1.
occurrences() { FROM=$2 perl -0777 -ne '$n = () = /\Q$ENV{FROM}\E/g; print $n' "$1"; }

# Replaces the one occurrence of $2 in file $1 by $3.
apply() { FROM=$2 TO=$3 perl -0777 -i -pe 's/\Q$ENV{FROM}\E/$ENV{TO}/' "$1"; }

# The list, checked whole before anything is built: files, texts found exactly once, tests named.
faults=()
check_fault() {
  local file=$1 before=$2 after=$3 tests=$4
  [[ -f $file ]] || fail "no file $file"
  [[ $before != "$after" ]] || fail "$file: the fault changes nothing: '$before'"
  [[ $tests == *"|"* ]] || fail "$file: '$tests' is not TARGETS|REGEX"
  local n
  n=$(occurrences "$file" "$before")
  [[ $n == 1 ]] || fail "$file: '$before' found $n times"
  [[ -z $filter ]] || [[ "$file: $after" =~ $filter ]] || return 0
  faults+=("$file" "$before" "$after" "$tests")
}
fields=()
while IFS= read -r line || [[ -n $line ]]; do
  if [[ -z $line ]]; then
    ((${#fields[@]} == 0)) && continue
    ((${#fields[@]} == 4)) || fail "a fault needs four lines, got: ${fields[*]}"
    check_fault "${fields[@]}"; fields=()
  elif ((${#fields[@]} == 0)) && [[ $line == \#* ]]; then
    continue
  else
    fields+=("$line")
  fi
done <"$list"
if ((${#fields[@]} > 0)); then
  ((${#fields[@]} == 4)) || fail "a fault needs four lines, got: ${fields[*]}"
  check_fault "${fields[@]}"
fi
((${#faults[@]} > 0)) || fail "no fault to apply"

# Builds targets $1 and runs the tests that match $2; the result: 0 pass, 1 a test failed,
# 3 the build failed. The names of the failing tests are left in $log.
build_and_test() {
  # shellcheck disable=SC2086
  cmake --build "$dir" --target $1 -- -j"$jobs" >"$log" 2>&1 || return 3
  ctest --test-dir "$dir" -R "$2" --no-tests=error --timeout 120 -j"$jobs" >"$log" 2>&1 && return 0
  return 1
}

if [[ ! -f $dir/build.ninja ]]; then
  ./scripts/build.sh "$dir" -DQUORLIS_BUILD_BENCH=OFF >/dev/null || fail "the build in $dir failed before any fault"
fi
# Each set of tests that the list names, once on the unchanged tree.
while IFS= read -r tests; do
  build_and_test "${tests%%|*}" "${tests#*|}"
  case $? in
    3) cat "$log" >&2; fail "the unchanged tree does not build: ${tests%%|*}" ;;
    1) grep -E 'Failed|Not Run|No tests' "$log" >&2; fail "the unchanged tree fails its tests: ${tests#*|}" ;;
  esac
done < <(for ((i = 3; i < ${#faults[@]}; i += 4)); do echo "${faults[i]}"; done | sort -u)

killed=0 survived=0 broken=0
survivors=()
run_fault() {
  local file=$1 before=$2 after=$3 tests=$4
  cp "$file" "$backup"
  echo "$file" >"$backup_of"
  apply "$file" "$before" "$after"
  build_and_test "${tests%%|*}" "${tests#*|}"
  case $? in
    0) survived=$((survived + 1)); survivors+=("$file: '$before' -> '$after'")
       echo "  SURVIVED: $file: $after" ;;
    1) killed=$((killed + 1))
       echo "  caught:   $file: $after  [$(sed -n '/tests FAILED:/,$p' "$log" | grep -oE '[0-9]+ - [^ ]+' | head -3 | sed 's/^[0-9]* - //' | paste -sd ' ')]" ;;
    3) broken=$((broken + 1)); echo "  does not compile: $file: $after" ;;
  esac
  restore
}

for ((i = 0; i < ${#faults[@]}; i += 4)); do
  run_fault "${faults[@]:i:4}"
done

# The build is left as the unchanged source gives it.
cmake --build "$dir" -- -j"$jobs" >/dev/null 2>&1 || true
echo "mutate: $((killed + survived + broken)) faults: $killed caught, $survived survived, $broken did not compile"
for s in "${survivors[@]}"; do echo "  survived: $s"; done
((survived == 0))
