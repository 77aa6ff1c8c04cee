#!/usr/bin/env bash
# Gathers what `ovtool build` makes the demo lessons from:
#   make-media.sh DEMO_PICTURES OUT
# OUT/sources/ gets the lesson sources of lessons/ with the files they name,
# and sources/media/ the files no source can hold as text: the showcase page's
# fruit pictures, its sentence spoken by espeak-ng and a short video from
# GStreamer's test source, and the scene sounds (rain, wind, waves) from sox.
# OUT/home/Images gets the window's decorative pictures. Without espeak-ng or
# GStreamer their media are skipped (and the demo build then fails).
set -euo pipefail
pictures=$1
out=$2
demo=$(cd "$(dirname "$0")" && pwd)
rm -rf "$out"
mkdir -p "$out/home/Images"
cp -R "$demo/lessons" "$out/sources"
media="$out/sources/media"
mkdir -p "$media"

images="$out/home/Images"
printf '%s\t%s\n' "$media/apple.jpg" apple "$media/pear.jpg" pear "$images/BOTTOM.bmp" bottom \
  "$images/TOP.bmp" top "$images/left.bmp" border "$images/right.bmp" border "$images/BO.bmp" backdrop \
  > "$out/pictures.tsv"
"$pictures" "$out/pictures.tsv"

if command -v espeak-ng >/dev/null; then
  espeak-ng -v en -s 140 -w "$media/look.wav" "Look at the apple."
else
  echo "make-media: espeak-ng missing, the demo lessons have no sound" >&2
fi

# Scene sounds, looped under the lesson: rain, wind and waves.
sox -n -r 22050 -c 1 "$media/雨声.wav" synth 8 brownnoise lowpass 1800 vol 0.5 fade 0.2 8 0.2
sox -n -r 22050 -c 1 "$media/风声.wav" synth 8 pinknoise bandpass 500 300h tremolo 0.25 60 vol 0.6 fade 0.5 8 0.5
sox -n -r 22050 -c 1 "$media/海浪.wav" synth 8 brownnoise tremolo 0.125 90 vol 0.7 fade 1 8 1

if command -v gst-launch-1.0 >/dev/null; then
  gst-launch-1.0 -q videotestsrc num-buffers=90 pattern=smpte \
    ! video/x-raw,width=320,height=240,framerate=15/1 ! x264enc ! mp4mux \
    ! filesink location="$media/clip.mp4"
else
  echo "make-media: gst-launch-1.0 missing, the showcase page has no video" >&2
fi
