#!/usr/bin/env bash
# Builds the libFuzzer targets with clang++-14 and runs each for a while, two at a time, from
# its seed corpus fuzz/corpus/<target>/ (never written: new inputs go to the build directory).
#   fuzz/run.sh [seconds per target, default 30] [build directory, default build-fuzz]
# Fails when a target finds a fault; its input is kept as <build>/artefatti/<target>-*.
set -euo pipefail

secondi=${1:-30}
build=${2:-build-fuzz}
radice=$(cd "$(dirname "$0")/.." && pwd)
bersagli=(fuzz_numeri fuzz_cp1252 fuzz_tasti fuzz_record)

cmake -S "$radice/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$build" -j 2
mkdir -p "$build/artefatti"

esegui() {
    local t=$1 lunghezza=4096
    # Longer inputs for the record files, so that texts beyond the 4 KiB read limit occur.
    [ "$t" = fuzz_record ] && lunghezza=10000
    mkdir -p "$build/corpus/$t"
    "$build/$t" -max_total_time="$secondi" -timeout=10 -rss_limit_mb=2048 -max_len=$lunghezza \
        -print_final_stats=1 -artifact_prefix="$build/artefatti/$t-" \
        "$build/corpus/$t" "$radice/fuzz/corpus/$t" >"$build/$t.log" 2>&1
}

esito=0
for ((i = 0; i < ${#bersagli[@]}; i += 2)); do
    coppia=("${bersagli[@]:i:2}")
    pid=()
    for t in "${coppia[@]}"; do
        esegui "$t" &
        pid+=($!)
    done
    for k in "${!coppia[@]}"; do
        t=${coppia[k]}
        if wait "${pid[k]}"; then
            esecuzioni=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/$t.log")
            tempo=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$build/$t.log")
            echo "$t: ok, $esecuzioni esecuzioni in ${tempo:-?} s"
        else
            echo "$t: ERRORE, vedi $build/$t.log" >&2
            tail -n 40 "$build/$t.log" >&2
            esito=1
        fi
    done
done
exit $esito
