#!/usr/bin/env bash
# Builds the demo program folder from the sources beside this script.
#   build-home.sh OVTOOL HOME
# Every folder under lessons/ becomes the class package Resources/<folder>.ovpk:
# page sources "*.ov.xml" (UTF-8) become encrypted GBK pages "*.ov", a
# "words.tsv" becomes the lesson's word database, everything else is copied.
# catalogue.tsv becomes DB/RsDbList.db.
set -euo pipefail
ovtool=$1
home=$2
demo=$(cd "$(dirname "$0")" && pwd)

# Steps whose ovtool command does not exist yet are skipped.
has_command() { "$ovtool" --help | grep -qE "^  $1( |$)"; }

mkdir -p "$home"/{DB,Resources,Records,ENoises,Images}
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

for lesson in "$demo"/lessons/*/; do
  [[ -d "$lesson" ]] || continue
  name=$(basename "$lesson")
  target="$stage/$name"
  mkdir -p "$target"
  (cd "$lesson" && find . -type f | sort) | while read -r file; do
    file=${file#./}
    mkdir -p "$target/$(dirname "$file")"
    case "$file" in
      *.ov.xml)
        iconv -f UTF-8 -t GBK "$lesson/$file" > "$stage/page.xml"
        "$ovtool" encrypt "$stage/page.xml" "$target/${file%.xml}" ;;
      */words.tsv|words.tsv)
        if has_command words; then
          "$ovtool" words create "$target/$(dirname "$file")/words.db" "$lesson/$file" >/dev/null
        fi ;;
      *)
        cp "$lesson/$file" "$target/$file" ;;
    esac
  done
  if has_command pack; then
    "$ovtool" pack "$target" "$home/Resources/$name.ovpk"
  fi
done

if [[ -f "$demo/catalogue.tsv" ]] && has_command catalogue; then
  rm -f "$home/DB/RsDbList.db"
  "$ovtool" catalogue create "$home/DB/RsDbList.db" >/dev/null
  "$ovtool" catalogue import "$home/DB/RsDbList.db" "$demo/catalogue.tsv" >/dev/null
fi
