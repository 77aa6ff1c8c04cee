"""Dictation: the pupil types answers into the edits, some right and some
wrong, and "统计" counts them."""

import sys

import lessons
from player import ScenarioFailure, run_scenario, wait_until


def body(p):
    p.open_lesson(*lessons.HELLO)
    p.press("check box", "单词听写")
    words = lessons.HELLO_DICTATION
    # Three right, the first in another letter case; one misspelt; the last
    # two left empty, which count as wrong.
    typed = [words[0].upper(), words[1], words[2], "frend"]
    for place, answer in enumerate(typed, 1):
        edit = p.find("text", f"答案 {place}")
        p.type_into(edit, answer)
        wait_until(lambda: p.text_of(edit) == answer, 5, f"{answer!r} in 答案 {place}")
    p.press("push button", "统计")

    dialog = p.find("dialog", "统计提示", timeout=10)
    text = "\n".join(p.text_of(label) for label in p.find_all("label", within=dialog))
    wanted = f"答对个数:3 答错个数:{len(words) - 3}"
    if wanted not in text:
        raise ScenarioFailure(f"the counts dialog shows {text!r}, not {wanted!r}")
    p.press("push button", "确定")
    ticks = len(p.find_all("label", "right.jpg"))
    if ticks != 3:
        raise ScenarioFailure(f"{ticks} ticks show beside the answers, not 3")


if __name__ == "__main__":
    sys.exit(run_scenario("dictation", body, __doc__))
