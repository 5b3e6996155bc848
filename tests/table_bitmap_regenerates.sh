#!/usr/bin/env bash
# Runs the table generator into a scratch folder and compares what it writes with the
# committed layout and picture, byte for byte.
#   table_bitmap_regenerates.sh <make_table_bitmap> <assets dir>
set -euo pipefail
generator=$1 assets=$2

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$scratch \
  "$generator" "$assets/do-table.csv" "$scratch/do-table-layout.txt" "$scratch/do-table.bmp"
cmp "$scratch/do-table-layout.txt" "$assets/do-table-layout.txt"
cmp "$scratch/do-table.bmp" "$assets/do-table.bmp"
echo "the generator writes the committed do-table-layout.txt and do-table.bmp"
