#!/usr/bin/env bash
# Builds the benchmarks (Release, build/bench), runs them headless and prints one table of every
# speed figure against its floor or limit.
#   ./bench.sh            five repetitions of each benchmark in random order, medians
#                         (about five minutes)
#   ./bench.sh REPS       that many repetitions instead
# The raw figures stay in build/bench/bench.json (Google Benchmark JSON) and bench.log.
ROOT=$(cd "$(dirname "$0")" && pwd)
source "$ROOT/scripts/common.sh"

REPS=${1:-5}
DIR="$ROOT/build/bench"

install_missing_packages python3
# The benchmarks use the test support library (scripted window services, temporary folders).
(cd "$ROOT" && cmake --preset bench && cmake --build --preset bench --target bench -j"$(nproc)")

echo "Running the benchmarks ($REPS repetitions each; the idle-CPU figure takes 30 s)..."
cd "$DIR"
QT_QPA_PLATFORM=offscreen ./bench/bench \
    --benchmark_repetitions="$REPS" --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true \
    --benchmark_out="$DIR/bench.json" --benchmark_out_format=json >"$DIR/bench.log" 2>&1 || {
    echo "The benchmark run failed; see $DIR/bench.log" >&2
    tail -20 "$DIR/bench.log" >&2
    exit 1
}
python3 "$ROOT/bench/report.py" "$DIR/bench.json"
