"""A pupil opens a lesson from the catalogue, sees the first word of the word
preview, then leafs through the after-class test with the page buttons."""

import re
import sys

import lessons
from player import ScenarioFailure, run_scenario, wait_until

PAGE_LABEL = re.compile(r"^第\d+页/共\d+页$")


def page_label(p):
    labels = p.find_all("label", PAGE_LABEL)
    return labels[0].name if labels else None


def expect_page(p, page, count):
    wanted = f"第{page}页/共{count}页"
    wait_until(lambda: page_label(p) == wanted, 10, f"the page label {wanted!r} (it shows {page_label(p)!r})")


def body(p):
    p.open_lesson(*lessons.HELLO)
    wait_until(lambda: lessons.HELLO_FIRST_WORD in p.texts("text"), 15,
               f"the word preview showing {lessons.HELLO_FIRST_WORD!r}")
    caption = p.app.getChildAtIndex(0).name
    if not caption.endswith("   " + lessons.HELLO[-1]):
        raise ScenarioFailure(f"the window caption {caption!r} does not name the lesson")

    p.press("check box", "课后练习")
    count = lessons.HELLO_TEST_PAGES
    expect_page(p, 1, count)
    # The page buttons share their captions with the operation bar's "<<" and
    # ">>"; their descriptions tell them apart.
    p.press("push button", ">", "后一页")
    expect_page(p, 2, count)
    p.press("push button", "<<", "首页")
    expect_page(p, 1, count)
    p.press("push button", ">>", "尾页")
    expect_page(p, count, count)
    p.press("push button", "<", "前一页")
    expect_page(p, count - 1, count)


if __name__ == "__main__":
    sys.exit(run_scenario("open_lesson", body, __doc__))
