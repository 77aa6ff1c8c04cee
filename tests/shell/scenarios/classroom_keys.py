"""A teacher at the projector: the presenter remote's Page Down and Page Up,
and the arrow keys, turn the after-class test's pages while the function
button the teacher clicked has the focus; Space starts and stops the reading
of 句子跟读 once the page has it, and leaves a focused button to itself."""

import re
import sys
import time

import lessons
from player import ScenarioFailure, run_scenario, wait_until

PAGE_LABEL = re.compile(r"^第\d+页/共\d+页$")
READING = "正在朗读"


def page_label(p):
    labels = p.find_all("label", PAGE_LABEL)
    return labels[0].name if labels else None


def expect_page(p, page):
    wanted = f"第{page}页/共{len(lessons.HELLO_TEST_HEADINGS)}页"
    wait_until(lambda: page_label(p) == wanted, 10, f"the page label {wanted!r} (it shows {page_label(p)!r})")


def reading(p):
    return p.find_all("label", description=READING)


def extents(p, node):
    return node.queryComponent().getExtents(p.pyatspi.DESKTOP_COORDS)


def blank_spot(p):
    """A point of the page right of its widest line, level with the dialogue."""
    word = p.find("label", "Miss")
    page = word.parent
    right = max(extents(p, page.getChildAtIndex(i)).x + extents(p, page.getChildAtIndex(i)).width
                for i in range(page.childCount))
    view = extents(p, page.parent)
    x = min(right + 40, view.x + view.width - 8)
    if x <= right:
        raise ScenarioFailure("the page has no room beside its words to click")
    box = extents(p, word)
    return x, box.y + box.height // 2


def body(p):
    p.open_lesson(*lessons.HELLO)
    p.press("check box", "课后练习")
    expect_page(p, 1)
    for key, page in (("Next", 2), ("Prior", 1), ("Right", 2), ("Left", 1)):
        p.xdotool("key", key)
        expect_page(p, page)
    if not p.find("check box", "课后练习").getState().contains(p.pyatspi.STATE_CHECKED):
        raise ScenarioFailure("an arrow key moved the study function away from 课后练习")

    p.press("check box", "句子跟读")
    wait_until(lambda: p.find_all("label", "Miss"), 10, "the dialogue's words")
    # Space on the focused function button is the button's: nothing is read.
    p.xdotool("key", "space")
    time.sleep(1.5)
    if reading(p):
        raise ScenarioFailure("Space on the focused function button started the reading")

    # A click on the page beside its words takes the focus off the button.
    x, y = blank_spot(p)
    p.xdotool("mousemove", x, y, "click", "1")
    p.xdotool("key", "space")
    wait_until(lambda: reading(p), 10, f"a word described {READING!r} after Space")
    p.xdotool("key", "space")
    wait_until(lambda: not reading(p), 10, "the reading to stop after Space")


if __name__ == "__main__":
    sys.exit(run_scenario("classroom_keys", body, __doc__))
