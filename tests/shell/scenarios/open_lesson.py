"""A pupil opens a lesson from the catalogue, sees the first word of the word
preview, then leafs through the after-class test with the page buttons."""

import re
import sys

import lessons
from player import ScenarioFailure, run_scenario, wait_until

PAGE_LABEL = re.compile(r"^第\d+页/共\d+页$")
PAGE_BUTTONS = (("<<", "首页"), ("<", "前一页"), (">", "后一页"), (">>", "尾页"))


def page_label(p):
    labels = p.find_all("label", PAGE_LABEL)
    return labels[0].name if labels else None


def expect_page(p, page):
    """The label names the page, the page's own heading shows, and only the
    buttons that lead somewhere are enabled."""
    headings = lessons.HELLO_TEST_HEADINGS
    wanted = f"第{page}页/共{len(headings)}页"
    wait_until(lambda: page_label(p) == wanted, 10, f"the page label {wanted!r} (it shows {page_label(p)!r})")
    p.find("label", headings[page - 1])
    enabled = {}
    for caption, hint in PAGE_BUTTONS:
        button = p.find("push button", caption, hint)
        enabled[hint] = button.getState().contains(p.pyatspi.STATE_ENABLED)
    wanted_enabled = {"首页": page > 1, "前一页": page > 1, "后一页": page < len(headings), "尾页": page < len(headings)}
    if enabled != wanted_enabled:
        raise ScenarioFailure(f"on page {page} the page buttons are enabled as {enabled}, not {wanted_enabled}")


def body(p):
    p.open_lesson(*lessons.HELLO)
    wait_until(lambda: lessons.HELLO_FIRST_WORD in p.texts("text"), 15,
               f"the word preview showing {lessons.HELLO_FIRST_WORD!r}")
    caption = p.app.getChildAtIndex(0).name
    if not caption.endswith("   " + lessons.HELLO[-1]):
        raise ScenarioFailure(f"the window caption {caption!r} does not name the lesson")

    p.press("check box", "课后练习")
    expect_page(p, 1)
    # The page buttons share their captions with the operation bar's "<<" and
    # ">>"; their descriptions tell them apart.
    p.press("push button", ">", "后一页")
    expect_page(p, 2)
    p.press("push button", "<<", "首页")
    expect_page(p, 1)
    p.press("push button", ">>", "尾页")
    expect_page(p, 2)
    p.press("push button", "<", "前一页")
    expect_page(p, 1)


if __name__ == "__main__":
    sys.exit(run_scenario("open_lesson", body, __doc__))
