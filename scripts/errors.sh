# Sourced first by every script: a command that fails is named, with its status, where it ran and
# how to go on, so that no script ends with a bare non-zero status.
#
# A script sets `hint` before a step that may fail: what to check or do when it does.

errors_script=${errors_script:-$(basename "$0")}
hint=${hint:-}

# Prints what failed: the command, its status and place, and the hint of the step.
report_failure() {
  local status=$1 command=$2 place=$3
  # A stage's own command, or a function of it that gave up, is named by the command it ran as.
  if [[ -n ${stage_command:-} && ($command == '"$@"' || $command == return*) ]]; then
    command=$stage_command
  fi
  echo "$errors_script: failed with status $status: $command ($place)" >&2
  if [[ -n $hint ]]; then
    echo "$errors_script: $hint" >&2
  fi
}

# Reports every failing command from here on; functions, command substitutions and subshells too.
arm_error_trap() {
  set -E
  trap 'report_failure $? "$BASH_COMMAND" "${BASH_SOURCE[0]##*/}:$LINENO"' ERR
}
arm_error_trap
