# Sourced by .ci/run and test.sh. `step COMMAND...` runs one step and records one line named
# by the command: "PREFIX: COMMAND: riuscito in S s (CPU C s)", or "NON RIUSCITO (uscita N)";
# CPU is the processor time of everything the step ran, which on a busy machine says more
# than the seconds. A step that fails prints the lines so far and ends the script with its
# status; `steps_summary` prints them all with the totals. PREFIX is $steps_prefix.
steps_lines=()
steps_start=$SECONDS

# Processor seconds, user and system, of the children this shell has waited for (read from
# /proc, since `times` in a command substitution would see the subshell's children only).
steps_ticks=$(getconf CLK_TCK 2>/dev/null || echo 100)
children_cpu() {
    local stat
    read -r -a stat </proc/$$/stat 2>/dev/null || { echo 0; return; }
    echo $(((stat[15] + stat[16]) / steps_ticks))
}

step() {
    local start=$SECONDS cpu status=0 result
    cpu=$(children_cpu)
    "$@" || status=$?
    if [ "$status" -eq 0 ]; then result=riuscito; else result="NON RIUSCITO (uscita $status)"; fi
    steps_lines+=("$steps_prefix: $*: $result in $((SECONDS - start)) s (CPU $(($(children_cpu) - cpu)) s)")
    echo "${steps_lines[-1]}"
    if [ "$status" -ne 0 ]; then
        steps_summary
        exit "$status"
    fi
}

# A step left out, with the reason.
step_skipped() { # $1: the command, $2: why
    steps_lines+=("$steps_prefix: $1: saltato ($2)")
    echo "${steps_lines[-1]}"
}

steps_summary() {
    echo "== $steps_prefix: riepilogo"
    printf '%s\n' "${steps_lines[@]}"
    echo "$steps_prefix: totale $((SECONDS - steps_start)) s (CPU $(children_cpu) s)"
}
