#!/usr/bin/env bash
# check-format.sh [--fix]: checks that every C++ source of the tree is formatted as .clang-format
# says; with --fix, formats the ones that are not. Lists the files that differ.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/errors.sh
hint="clang-format is missing: ./scripts/setup.sh installs it"
command -v clang-format >/dev/null

mapfile -t files < <(find app bench cable fuzz platform res tests ui -name '*.cpp' -o -name '*.h' | sort)
unformatted=()
for file in "${files[@]}"; do
  if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
    unformatted+=("$file")
  fi
done
if ((${#unformatted[@]} == 0)); then
  echo "format: ${#files[@]} files formatted as .clang-format says"
  exit 0
fi
if [[ ${1:-} == --fix ]]; then
  clang-format -i "${unformatted[@]}"
  echo "format: formatted ${unformatted[*]}"
  exit 0
fi
printf 'format: not formatted as .clang-format says: %s\n' "${unformatted[@]}" >&2
hint="format them with ./scripts/check-format.sh --fix (or clang-format -i FILE)"
false
