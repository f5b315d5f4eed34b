# Runs every libFuzzer target of the fuzz preset for a bounded time.
# Usage (after sourcing setup.sh): ktv_run_fuzzers SECONDS_PER_TARGET
ktv_run_fuzzers() {
    local seconds=$1 status=0 target name corpus work
    local artifacts="$KTV_ROOT/build/fuzz/artifacts"
    mkdir -p "$artifacts"
    for target in "$KTV_ROOT"/build/fuzz/tests/fuzz/*_fuzzer; do
        [[ -x $target ]] || continue
        name=$(basename "$target" _fuzzer)
        corpus="$KTV_ROOT/tests/fuzz/corpus/$name"
        work="$KTV_ROOT/build/fuzz/corpus/$name"
        mkdir -p "$work"
        echo "== fuzz $name for ${seconds}s"
        # The committed corpus seeds the run (and holds every input that ever
        # found a fault); new inputs go to the working corpus only.
        if "$target" "$work" "$corpus" -max_total_time="$seconds" -timeout=10 \
            -rss_limit_mb=2048 -max_len=65536 -print_final_stats=0 \
            -artifact_prefix="$artifacts/$name-" >"$KTV_ROOT/build/fuzz/$name.log" 2>&1; then
            tail -n 1 "$KTV_ROOT/build/fuzz/$name.log"
        else
            echo "FAILED: fuzz $name (see build/fuzz/$name.log; reproducer in $artifacts)"
            tail -n 30 "$KTV_ROOT/build/fuzz/$name.log"
            status=1
        fi
    done
    return $status
}
