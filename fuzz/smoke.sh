#!/usr/bin/env bash
# smoke.sh TARGET SEEDS SECONDS: runs one fuzz target for a few seconds over its seed corpus.
# New inputs go to a temporary folder, so the generated seeds stay as they were.
set -euo pipefail
target=$1 seeds=$2 seconds=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/corpus"
"$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$scratch/" "$scratch/corpus" "$seeds" 2>&1 | tail -n 60
