"""Sentence follow-reading: "开始" reads the dialogue aloud, then the pupil
records, plays the recording back and has it scored."""

import re
import sys

import lessons
from player import ScenarioFailure, peak_of_raw, run_scenario, wait_until

# Well above the dither of a silent stream, well below any spoken word.
AUDIBLE_PEAK = 1000
SCORE = re.compile(r"对比分值:(\d+)")


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


if __name__ == "__main__":
    sys.exit(run_scenario("sentence_follow_reading", body, __doc__))
