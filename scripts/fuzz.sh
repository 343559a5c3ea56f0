#!/usr/bin/env bash
# Builds the libFuzzer targets with clang++-14 and runs both at once for a while, from their
# seed corpora fuzz/corpus/<target>/ (never written: new inputs go to the build directory).
#   scripts/fuzz.sh [seconds per target, default 30] [build directory, default build-fuzz]
# Fails when a target finds a fault; its input is kept as <build>/artefatti/<target>-*.
set -euo pipefail
secondi=${1:-30} build=${2:-build-fuzz}
radice=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$radice/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$build" -j 2
# Longer inputs for the record files, so that texts beyond the 4 KiB read limit occur.
for t in fuzz_numeri:4096 fuzz_record:10000; do
    b=${t%:*}
    mkdir -p "$build/artefatti" "$build/corpus/$b"
    "$build/$b" -max_total_time="$secondi" -timeout=10 -rss_limit_mb=2048 -max_len="${t#*:}" \
        -print_final_stats=1 -artifact_prefix="$build/artefatti/$b-" \
        "$build/corpus/$b" "$radice/fuzz/corpus/$b" >"$build/$b.log" 2>&1 &
done
wait
esito=0
for b in fuzz_numeri fuzz_record; do
    if grep -q '^Done [0-9]* runs' "$build/$b.log"; then
        echo "$b: ok, $(sed -n 's/^stat::number_of_executed_units: *//p' "$build/$b.log") esecuzioni"
    else
        echo "$b: ERRORE, vedi $build/$b.log" >&2 && tail -n 40 "$build/$b.log" >&2 && esito=1
    fi
done
exit $esito
