#!/usr/bin/env bash
# Builds the fuzz targets (make fuzz) and runs the differential JPEG decoder fuzzer for the
# given number of seconds (default 60), seeded with small files made here by cjpeg.
# Usage: scripts/fuzz-smoke.sh [SECONDS] [CORPUS_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
corpus=${2:-}

make fuzz >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/seeds"
[ -n "$corpus" ] || corpus="$work/corpus"
mkdir -p "$corpus"

# A 24 x 17 colour gradient with a diagonal edge, as binary PPM.
byte() { printf "\\$(printf %03o "$1")"; }
{
    printf 'P6\n24 17\n255\n'
    for ((y = 0; y < 17; y++)); do
        for ((x = 0; x < 24; x++)); do
            if ((x > y)); then byte $((x * 10)); byte $((y * 15)); byte 64
            else byte 32; byte 192; byte $((x * 5 + y * 3)); fi
        done
    done
} >"$work/seed.ppm"

i=0
for opts in "-quality 75" "-quality 95 -sample 1x1" "-sample 2x1" "-sample 1x2" \
    "-progressive" "-progressive -restart 1B" "-restart 1B" "-grayscale" \
    "-grayscale -progressive" "-optimize -quality 30"; do
    # shellcheck disable=SC2086
    cjpeg $opts "$work/seed.ppm" >"$work/seeds/seed$i.jpg"
    i=$((i + 1))
done

mkdir -p build-fuzz/artifacts
build-fuzz/fuzz/jpeg_decoder_fuzzer -max_total_time="$seconds" -max_len=4096 -timeout=20 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=build-fuzz/artifacts/ \
    "$corpus" "$work/seeds"
