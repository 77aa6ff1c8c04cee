#!/usr/bin/env bash
# Turns the Flash movie descriptions make-lessons.py wrote ("*.swf.json")
# into the movies beside them:
#   make-movies.sh OVTOOL MEDIA
set -euo pipefail
ovtool=$1
media=$2
find "$media/lessons" -name '*.swf.json' -print0 | while IFS= read -r -d '' spec; do
  "$ovtool" swf "$spec" "${spec%.json}"
done
