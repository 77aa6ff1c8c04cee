"""Sentence follow-reading: "开始" reads the dialogue aloud, then the pupil
records, plays the recording back and has it scored. Then the pupil hears one
sentence, reads it with a word left out, and after "对比" exactly that word is
marked as not heard."""

import re
import subprocess
import sys

import lessons
from player import ScenarioFailure, peak_of_raw, run_scenario, wait_until

# Well above the dither of a silent stream, well below any spoken word.
AUDIBLE_PEAK = 1000
SCORE = re.compile(r"对比分值:(\d+)")
SENTENCE = "Good morning, boys and girls!"
LEFT_OUT = "boys"
COUNT = re.compile(r"读清楚了 (\d+)/(\d+) 个单词")


def close_score(p):
    dialog = p.find("dialog", "原音与录音对比", timeout=10)
    text = "\n".join(p.text_of(label) for label in p.find_all("label", within=dialog))
    score = SCORE.search(text)
    if not score:
        raise ScenarioFailure(f"the score dialog shows no score: {text!r}")
    if not 0 <= int(score.group(1)) <= 100:
        raise ScenarioFailure(f"the score {score.group(1)} is out of range")
    print(f"score {score.group(1)}")
    p.press("push button", "确定")
    wait_until(lambda: not p.find_all("dialog", "原音与录音对比"), 5, "the score dialog to close")


def reading_without(p, text, word):
    """The sentence read by espeak-ng with one word left out, as a 16 kHz WAV."""
    spoken, reading = p.path("spoken.wav"), p.path("reading.wav")
    said = " ".join(w for w in text.split() if w.strip(",.!?") != word)
    subprocess.run(["espeak-ng", "-w", spoken, said], check=True)
    subprocess.run(["sox", spoken, "-r", "16000", "-c", "1", reading, "pad", "0.3", "0.3"], check=True)
    return reading


def word_feedback(p):
    """The sentence read with a word left out: after "对比" only that word is marked."""
    # A click on a word plays its sentence through the original-sound display.
    p.click(p.find("label", LEFT_OUT))
    p.record_and_compare(reading_without(p, SENTENCE, LEFT_OUT))
    close_score(p)
    count = p.find("label", COUNT, timeout=30)
    heard, total = map(int, COUNT.search(p.text_of(count)).groups())
    missed = sorted(node.name for node in p.find_all("label", description="没听清"))
    print(f"{p.text_of(count)}; not heard: {missed}")
    p.screenshot("word-feedback")
    if missed != [LEFT_OUT] or (heard, total) != (4, 5):
        raise ScenarioFailure(f"expected only {LEFT_OUT!r} not heard (4/5), got {missed} ({heard}/{total})")


def body(p):
    p.open_lesson(*lessons.HELLO)
    p.press("check box", "句子跟读")
    p.find("push button", "对比")

    heard, listener = p.record_sink("speakers")
    p.press("push button", "开始")
    def audible_peak():
        peak = peak_of_raw(heard)
        return peak if peak >= AUDIBLE_PEAK else None
    peak = wait_until(audible_peak, 15, "the lesson's voice on the speakers")
    print(f"heard the lesson at a peak of {peak}")
    listener.terminate()
    p.press("push button", "停止")

    p.record_and_compare()
    close_score(p)

    word_feedback(p)


if __name__ == "__main__":
    sys.exit(run_scenario("sentence_follow_reading", body, __doc__))
