#!/usr/bin/env bash
# Runs every ```sh block of a guide in order in a scratch folder, so the
# commands a reader pastes are known to work.
#   run-guide.sh GUIDE.md BIN_DIR...   (folders put first on PATH: ovtool)
# The block that starts the player is skipped: it needs a screen.
set -euo pipefail
guide=$(realpath "$1"); shift
for dir in "$@"; do PATH="$(realpath "$dir"):$PATH"; done
export PATH
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
script="$scratch/guide.sh"
{
  echo 'set -euo pipefail'
  awk '/^```sh$/ {inblock=1; next} /^```$/ {inblock=0; next} inblock && !/ovplayer/ {print}' "$guide"
} > "$script"
cd "$scratch"
bash "$script"
