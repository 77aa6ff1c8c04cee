#!/usr/bin/env bash
# Builds the demo program folder from the sources beside this script and the
# media the build made.
#   build-home.sh OVTOOL HOME MEDIA
# Every lesson MEDIA/lessons/<name>, with the hand-written files of
# lessons/<name>/ laid over it, becomes the class package
# Resources/<name>.ovpk: page sources "*.ov.xml" (UTF-8) become encrypted GBK
# pages "*.ov", the word list words/<name>.tsv becomes the lesson's word
# database Class/words.db, the descriptions "*.swf.json" of the movies
# make-movies.sh wrote are left out, everything else is copied. MEDIA/home/ (Images,
# ENoises) is copied into HOME. catalogue.tsv becomes DB/RsDbList.db. Both
# databases are stored encrypted with this installation's passwords.
set -euo pipefail
ovtool=$1
home=$2
media=$3
demo=$(cd "$(dirname "$0")" && pwd)

rm -rf "$home/Resources" "$home/Images" "$home/ENoises"
mkdir -p "$home"/{DB,Resources,Records,ENoises,Images}
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

for lesson in "$media"/lessons/*/; do
  name=$(basename "$lesson")
  target="$stage/$name"
  mkdir -p "$target"
  cp -R "$lesson." "$target/"
  if [[ -d "$demo/lessons/$name" ]]; then
    cp -R "$demo/lessons/$name/." "$target/"
  fi
  # The movies' descriptions stay behind; the movies made from them go in.
  find "$target" -name '*.swf.json' -delete
  find "$target" -name '*.ov.xml' | sort | while read -r page; do
    iconv -f UTF-8 -t GBK "$page" > "$stage/page.xml"
    "$ovtool" encrypt "$stage/page.xml" "${page%.xml}"
    rm "$page"
  done
  if [[ -f "$demo/words/$name.tsv" ]]; then
    mkdir -p "$target/Class"
    "$ovtool" words create "$target/Class/words.db" "$demo/words/$name.tsv" --stored-password >/dev/null
  fi
  "$ovtool" pack "$target" "$home/Resources/$name.ovpk"
done
cp -R "$media/home/." "$home/"

if [[ -f "$demo/catalogue.tsv" ]]; then
  rm -f "$home/DB/RsDbList.db"
  "$ovtool" catalogue create "$home/DB/RsDbList.db" --stored-password >/dev/null
  "$ovtool" catalogue import "$home/DB/RsDbList.db" "$demo/catalogue.tsv" --stored-password >/dev/null
fi
