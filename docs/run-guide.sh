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
  awk '/^```sh$/ {inblock=1; next} /^```$/ {inblock=0; next} inblock && !/(^|[[:space:]])ovplayer([[:space:]]|$)/ {print}' "$guide"
} > "$script"
# Whatever the guide installs for "you" lands in the scratch folder.
export HOME="$scratch/home-folder" XDG_DATA_HOME="$scratch/home-folder/.local/share"
unset OV_HOME XDG_DATA_DIRS
mkdir -p "$HOME"
cd "$scratch"
bash "$script"
