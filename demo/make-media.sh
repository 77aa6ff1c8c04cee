#!/usr/bin/env bash
# Makes the demo courseware that is not kept as files:
#   make-media.sh DEMO_PICTURES OUT
# OUT/lessons/<lesson>/Class/ gets the pages written from the compact lesson
# sources, pictures drawn by our own program, speech by espeak-ng and songs
# over a tune from sox; the showcase page of "Unit1 Hello" also gets a short
# video from GStreamer's test source. OUT/home/ gets the decorative pictures
# (Images) and the scene sounds (ENoises). Without espeak-ng or GStreamer
# their media are skipped (and the check of the demo then fails).
set -euo pipefail
pictures=$1
out=$2
demo=$(cd "$(dirname "$0")" && pwd)
rm -rf "$out"
mkdir -p "$out/home/ENoises"

python3 "$demo/make-lessons.py" "$demo" "$out"
"$pictures" "$out/pictures.tsv"

# Words, sentences and sung lines; two at a time.
speak() {
  IFS=$'\t' read -r file voice speed text <<<"$1"
  espeak-ng -v "$voice" -s "$speed" -w "$file" "$text" 2>/dev/null
}
export -f speak

# Each song line is sung over a plucked tune of its own length.
sing() {
  local song=$1 sung
  sung="$(dirname "$song")/sung${song##*/song}"
  local length
  length=$(soxi -D "$sung")
  sox -n -r 22050 -c 1 "$song.tune.wav" synth 0.3 pluck C4 : synth 0.3 pluck E4 : synth 0.3 pluck G4 \
    : synth 0.3 pluck E4 repeat - trim 0 "$length"
  sox -m -v 0.8 "$sung" -v 0.3 "$song.tune.wav" "$song"
  rm -f "$sung" "$song.tune.wav"
}
export -f sing

if command -v espeak-ng >/dev/null; then
  xargs -d '\n' -P 2 -I{} bash -c 'speak "$1"' _ {} < "$out/speech.tsv"
  xargs -d '\n' -P 2 -I{} bash -c 'sing "$1"' _ {} < "$out/songs.tsv"
  mkdir -p "$out/lessons/Unit1 Hello/Class/Sound"
  speak "$out/lessons/Unit1 Hello/Class/Sound/look.wav"$'\t'en$'\t'140$'\t'"Look at the apple."
else
  echo "make-media: espeak-ng missing, the demo lessons have no sound" >&2
fi

# Scene sounds, looped under the lesson: rain, wind and waves.
noises="$out/home/ENoises"
sox -n -r 22050 -c 1 "$noises/雨声.wav" synth 8 brownnoise lowpass 1800 vol 0.5 fade 0.2 8 0.2
sox -n -r 22050 -c 1 "$noises/风声.wav" synth 8 pinknoise bandpass 500 300h tremolo 0.25 60 vol 0.6 fade 0.5 8 0.5
sox -n -r 22050 -c 1 "$noises/海浪.wav" synth 8 brownnoise tremolo 0.125 90 vol 0.7 fade 1 8 1

if command -v gst-launch-1.0 >/dev/null; then
  mkdir -p "$out/lessons/Unit1 Hello/Class/Video"
  gst-launch-1.0 -q videotestsrc num-buffers=90 pattern=smpte \
    ! video/x-raw,width=320,height=240,framerate=15/1 ! x264enc ! mp4mux \
    ! filesink location="$out/lessons/Unit1 Hello/Class/Video/clip.mp4"
else
  echo "make-media: gst-launch-1.0 missing, the showcase page has no video" >&2
fi
