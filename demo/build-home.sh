#!/usr/bin/env bash
# Builds the demo program folder from the sources beside this script.
#   build-home.sh OVTOOL HOME [MEDIA]
# Every folder under lessons/ becomes the class package Resources/<folder>.ovpk:
# page sources "*.ov.xml" (UTF-8) become encrypted GBK pages "*.ov", the word
# list words/<folder>.tsv becomes the lesson's word database Class/words.db,
# everything else is copied, and so is MEDIA/<folder>/... (the media made at
# build time). catalogue.tsv becomes DB/RsDbList.db. Both databases are
# stored encrypted with this installation's passwords.
set -euo pipefail
ovtool=$1
home=$2
media=${3:-}
demo=$(cd "$(dirname "$0")" && pwd)

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
      *)
        cp "$lesson/$file" "$target/$file" ;;
    esac
  done
  if [[ -n "$media" && -d "$media/$name" ]]; then
    cp -R "$media/$name/." "$target/"
  fi
  if [[ -f "$demo/words/$name.tsv" ]]; then
    mkdir -p "$target/Class"
    "$ovtool" words create "$target/Class/words.db" "$demo/words/$name.tsv" --stored-password >/dev/null
  fi
  "$ovtool" pack "$target" "$home/Resources/$name.ovpk"
done

if [[ -f "$demo/catalogue.tsv" ]]; then
  rm -f "$home/DB/RsDbList.db"
  "$ovtool" catalogue create "$home/DB/RsDbList.db" --stored-password >/dev/null
  "$ovtool" catalogue import "$home/DB/RsDbList.db" "$demo/catalogue.tsv" --stored-password >/dev/null
fi
