#!/usr/bin/env bash
# Makes the demo lesson's media that are not kept as files:
#   make-media.sh DEMO_PICTURES OUT
# OUT/<lesson>/... is laid over the lesson's own files when the demo is built:
# pictures drawn by our own program, a sentence spoken by espeak-ng and a short
# video from GStreamer's test source. A missing tool skips its media.
set -euo pipefail
pictures=$1
out=$2
class="$out/Unit1 Hello/Class"
rm -rf "$out"
mkdir -p "$class/Sound" "$class/Video"

"$pictures" "$class"

if command -v espeak-ng >/dev/null; then
  espeak-ng -v en -s 140 -w "$class/Sound/look.wav" "Look at the apple." 2>/dev/null
else
  echo "make-media: espeak-ng missing, the demo sentence has no sound" >&2
fi

if command -v gst-launch-1.0 >/dev/null; then
  gst-launch-1.0 -q videotestsrc num-buffers=90 pattern=smpte \
    ! video/x-raw,width=320,height=240,framerate=15/1 ! x264enc ! mp4mux \
    ! filesink location="$class/Video/clip.mp4"
else
  echo "make-media: gst-launch-1.0 missing, the demo page has no video" >&2
fi
