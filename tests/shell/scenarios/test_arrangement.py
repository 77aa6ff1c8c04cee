"""The after-class test's second page holds a sentence to put in order: the
pupil drags two words into their places, and "统计" counts the arrangement
right and shows its tick."""

import sys
import time

import lessons
from player import ScenarioFailure, run_scenario, wait_until


def words_left_to_right(p, words):
    labels = [p.find("label", word) for word in words]
    return [label.name for label in sorted(labels, key=lambda label: p.centre(label)[0])]


def drag(p, word, x):
    """Drags the word with a real pointer to x on the screen, along its line."""
    label = p.find("label", word)
    start_x, y = p.centre(label)
    p.xdotool("mousemove", start_x, y, "mousedown", "1")
    step = -8 if x < start_x else 8
    for along in range(start_x + step, x, step):
        p.xdotool("mousemove", along, y)
    p.xdotool("mousemove", x, y, "mouseup", "1")
    time.sleep(0.3)


def body(p):
    p.open_lesson(*lessons.HELLO)
    p.press("check box", "课后练习")
    p.find("label", lessons.HELLO_TEST_HEADINGS[0], timeout=15)
    p.press("push button", ">", description="后一页")
    p.find("label", lessons.HELLO_TEST_HEADINGS[1], timeout=15)

    words = lessons.HELLO_ARRANGE
    shuffled = words_left_to_right(p, words)
    if shuffled == list(words):
        raise ScenarioFailure("the sentence is in order before the pupil moves a word")
    # "name My Mike. is": "My" goes before the first word, "is" onto the left
    # half of "Mike.", which puts it in front of that word.
    first = p.find("label", shuffled[0]).queryComponent().getExtents(p.pyatspi.DESKTOP_COORDS)
    drag(p, "My", first.x - 6)
    mike = p.find("label", "Mike.").queryComponent().getExtents(p.pyatspi.DESKTOP_COORDS)
    drag(p, "is", mike.x + mike.width // 4)
    placed = words_left_to_right(p, words)
    if placed != list(words):
        raise ScenarioFailure(f"after two drags the sentence reads {placed}, not {list(words)}")

    p.press("push button", "统计")
    dialog = p.find("dialog", "统计提示", timeout=10)
    text = "\n".join(p.text_of(label) for label in p.find_all("label", within=dialog))
    if "答对个数:1 答错个数:0" not in text:
        raise ScenarioFailure(f"the counts dialog shows {text!r}, not one right and none wrong")
    p.press("push button", "确定")
    wait_until(lambda: len(p.find_all("label", "right.jpg")) == 1, 5, "the tick beside the sentence")


if __name__ == "__main__":
    sys.exit(run_scenario("test_arrangement", body, __doc__))
