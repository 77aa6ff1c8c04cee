#!/usr/bin/env bash
# Builds the demo program folder from the lesson sources make-media.sh gathered:
#   build-home.sh OVTOOL HOME MEDIA
# Every MEDIA/sources/<name>.lesson becomes a courseware folder by
# `ovtool build`, which `ovtool install-courseware` puts into HOME as a teacher
# would install it. MEDIA/home/ (Images) is copied into HOME. Each package is
# also unpacked into MEDIA/lessons/<name>/ for the tests that open its pages.
set -euo pipefail
ovtool=$1
home=$2
media=$3

rm -rf "$home/DB" "$home/Resources" "$home/Images" "$home/ENoises" "$media/courseware" "$media/lessons"
mkdir -p "$home/Records"
install=$(mktemp -d)
trap 'rm -rf "$install"' EXIT

for source in "$media"/sources/*.lesson; do
  name=$(basename "$source" .lesson)
  "$ovtool" build "$source" "$media/courseware/$name"
  XDG_DATA_HOME="$install" "$ovtool" install-courseware "$media/courseware/$name" >/dev/null
  "$ovtool" unpack "$media/courseware/$name/Resources/$name.ovpk" "$media/lessons/$name"
done
cp -R "$install/ovplayer/." "$home/"
cp -R "$media/home/." "$home/"
