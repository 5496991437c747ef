# Sourced by the scripts that run in stages (test.sh, test-windows.sh), after errors.sh. Each stage
# is timed and its result kept; the script that started the run prints a table of every stage,
# nested ones included, when the run ends, and its last line says whether the run passed or which
# stage failed. A script may define stages_cleanup, which runs whenever it ends.

# The records of the run, shared with nested staged scripts: start, depth, seconds, result, name.
if [[ -z ${QUORLIS_STAGE_FILE:-} ]]; then
  QUORLIS_STAGE_FILE=$(mktemp)
  export QUORLIS_STAGE_FILE QUORLIS_STAGE_DEPTH=0
  stages_owner=1
else
  stages_owner=
fi
stages_depth=${QUORLIS_STAGE_DEPTH:-0}
stages_started=$(date +%s)
stage_name=
stage_command=
stage_start=

# Appends the record of the current stage with RESULT.
record_stage() {
  local end
  end=$(date +%s%N)
  printf '%s\t%s\t%s\t%s\t%s\n' "$stage_start" "$stages_depth" "$(((end - stage_start) / 1000000000))" "$1" \
    "$stage_name" >>"$QUORLIS_STAGE_FILE"
}

# Records a stage that is left out, with the reason.
skip_stage() {
  stage_name=$1
  stage_start=$(date +%s%N)
  echo "== $1: skipped ($2)"
  record_stage "skipped ($2)"
  stage_name=
}

# run_stage NAME HINT COMMAND [ARGS...]: runs COMMAND as the stage NAME, in this shell, so that what
# it sets stays set; HINT says what to do when it fails. A failing command ends the script, and
# the stage is recorded as failed on the way out.
run_stage() {
  stage_name=$1
  hint=$2
  shift 2
  stage_command=$*
  echo "== $stage_name"
  stage_start=$(date +%s%N)
  export QUORLIS_STAGE_DEPTH=$((stages_depth + 1))
  "$@"
  export QUORLIS_STAGE_DEPTH=$stages_depth
  record_stage passed
  stage_name=
  stage_command=
  hint=
}

# The table of the stages in the order they started, then the verdict.
print_stage_summary() {
  local status=$1 start depth seconds result name failed
  echo
  printf '%-48s %8s  %s\n' stage seconds result
  sort -n "$QUORLIS_STAGE_FILE" | while IFS=$'\t' read -r start depth seconds result name; do
    printf '%-48s %8s  %s\n' "$(printf '%*s' $((depth * 2)) '')$name" "$seconds" "$result"
  done
  printf '%-48s %8s\n' total $(($(date +%s) - stages_started))
  # The first stage to fail is the innermost one: the stages around it fail after it.
  failed=$(awk -F'\t' '$4 ~ /^FAILED/ { print $5; exit }' "$QUORLIS_STAGE_FILE")
  if ((status == 0)); then
    echo "$errors_script: passed"
  elif [[ -n $failed ]]; then
    echo "$errors_script: FAILED at stage '$failed' (status $status); the error is above the table"
  else
    echo "$errors_script: FAILED (status $status) outside the stages; the error is above the table"
  fi
}

stages_on_exit() {
  local status=$1
  trap - ERR
  if declare -F stages_cleanup >/dev/null; then
    stages_cleanup || true
  fi
  if [[ -n $stage_name ]]; then
    record_stage "FAILED ($status)"
  fi
  if [[ -n $stages_owner ]]; then
    print_stage_summary "$status"
    rm -f "$QUORLIS_STAGE_FILE"
  fi
}
trap 'stages_status=$?; stages_on_exit $stages_status; exit $stages_status' EXIT
