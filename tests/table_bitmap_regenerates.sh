#!/usr/bin/env bash
# Runs the table generator into a scratch folder and compares what it writes with the
# committed layout and pictures, byte for byte.
#   table_bitmap_regenerates.sh <make_table_bitmap> <assets dir>
set -euo pipefail
generator=$1 assets=$2

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$scratch \
  "$generator" "$assets/do-table.csv" "$scratch/do-table-layout.txt" "$scratch/do-table.bmp" \
  "$scratch/do-table-rle8.bmp"
for file in do-table-layout.txt do-table.bmp do-table-rle8.bmp; do cmp "$scratch/$file" "$assets/$file"; done
echo "the generator writes the committed do-table-layout.txt, do-table.bmp and do-table-rle8.bmp"
