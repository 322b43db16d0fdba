#!/usr/bin/env bash
# Builds the fuzz targets (make fuzz) and runs the differential JPEG decoder fuzzer for the
# given number of seconds (default 60), seeded with small files made here by cjpeg, then the
# picture import (the decoder's import mode), JPEG encoder, document reader, bitmap file and
# editor core fuzzers for a third of that time each.
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

# The picture import: the JPEG seeds as cjpeg wrote them, and with their JFIF APP0 segment
# (the 18 bytes after SOI) dropped or replaced by an Exif one turning the picture
# (orientations 3, 6 and 8), as cameras and phones write them.
other=$((seconds / 3 > 5 ? seconds / 3 : 5))
mkdir -p "$work/import-seeds" "$work/import-corpus"
exif() { # APP1: "Exif", a little-endian TIFF header and IFD0 holding only the orientation $1
    byte 255; byte 225; byte 0; byte 34; printf 'Exif'; byte 0; byte 0
    printf 'II'; byte 42; byte 0; byte 8; byte 0; byte 0; byte 0
    byte 1; byte 0
    byte 18; byte 1; byte 3; byte 0; byte 1; byte 0; byte 0; byte 0; byte "$1"; byte 0; byte 0; byte 0
    byte 0; byte 0; byte 0; byte 0
}
for seed in "$work"/seeds/seed*.jpg; do
    name=$(basename "$seed" .jpg)
    cp "$seed" "$work/import-seeds/$name.jpg"
    { byte 255; byte 216; tail -c +21 "$seed"; } >"$work/import-seeds/$name-bare.jpg"
    for o in 3 6 8; do
        { byte 255; byte 216; exif "$o"; tail -c +21 "$seed"; } >"$work/import-seeds/$name-exif$o.jpg"
    done
done
build-fuzz/fuzz/picture_import_fuzzer -max_total_time="$other" -max_len=4096 -timeout=20 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=build-fuzz/artifacts/ \
    "$work/import-corpus" "$work/import-seeds"

# An empty document (magic, page size, page settings with its one fixed byte, seven zero
# counts) and a 2 x 2 24-bit bitmap file seed the two readers; pictures of each bit depth
# (quality, depth, width, height, colour-map choice, then colours and pixels) the encoder.
mkdir -p "$work/doc-seeds" "$work/bmp-seeds" "$work/doc-corpus" "$work/bmp-corpus" \
    "$work/enc-seeds" "$work/enc-corpus"
for depth in 0 1 2 3 4; do
    { byte 75; byte "$depth"; byte 16; byte 8; byte 0; head -c 600 "$work/seed.ppm" | tail -c 540; } \
        >"$work/enc-seeds/depth$depth"
done
{
    printf 'FolioscriptorDocument\0'
    head -c 98 /dev/zero
    byte 1
    head -c 77 /dev/zero
} >"$work/doc-seeds/empty.PST"
{
    printf 'BM'; byte 70; head -c 7 /dev/zero; byte 54; head -c 3 /dev/zero
    byte 40; head -c 3 /dev/zero; byte 2; head -c 3 /dev/zero; byte 2; head -c 3 /dev/zero
    byte 1; byte 0; byte 24; head -c 25 /dev/zero
    for ((i = 0; i < 2; i++)); do byte 255; byte 0; byte 0; byte 0; byte 255; byte 0; byte 0; byte 0; done
} >"$work/bmp-seeds/rgb.bmp"
for pair in jpeg_encoder:enc document_reader:doc bitmap_file:bmp; do
    target=${pair%%:*}
    short=${pair##*:}
    build-fuzz/fuzz/${target}_fuzzer -max_total_time="$other" -max_len=4096 -timeout=20 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=build-fuzz/artifacts/ \
        "$work/$short-corpus" "$work/$short-seeds"
done

# The editor core under decoded user actions, seeded with documents it writes itself.
mkdir -p "$work/editor-seeds" "$work/editor-corpus"
FS_EDITOR_FUZZ_SEEDS="$work/editor-seeds" build-fuzz/fuzz/editor_core_fuzzer -runs=0 \
    "$work/editor-seeds" >/dev/null 2>&1
build-fuzz/fuzz/editor_core_fuzzer -max_total_time="$other" -max_len=8192 -timeout=20 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=build-fuzz/artifacts/ \
    "$work/editor-corpus" "$work/editor-seeds"
