"""Dictation without the mouse: from the page Tab leads through the answer
edits row by row, the pupil types each answer, Tab goes on to the operation
bar, Space on "统计" counts, and each misspelt answer is explained under its
edit."""

import re
import sys

import lessons
from player import ScenarioFailure, run_scenario, wait_until

# The demo page numbers its edits down the first column, then down the
# second; read row by row they come as 1, 4, 2, 5, 3, 6.
READING_ORDER = (1, 4, 2, 5, 3, 6)
# Edits 4 and 5 misspelt.
TYPED = {1: "hello", 4: "frend", 2: "hi", 5: "by", 3: "name", 6: "teacher"}


def focused(p):
    return next((node for node in p.walk() if node.getState().contains(p.pyatspi.STATE_FOCUSED)), None)


def describe(node):
    return f"{node.getRoleName()} {node.name!r}" if node is not None else "nothing"


def tab(p):
    """Presses Tab; the widget that has the focus after it."""
    before = focused(p)
    p.xdotool("key", "Tab")
    return wait_until(lambda: (lambda now: now if now is not None and now != before else None)(focused(p)), 5,
                      f"the focus to leave {describe(before)}")


def tab_to(p, role, name, most):
    """Tabs until a widget of the role and name has the focus, at most `most` times."""
    passed = []
    for _ in range(most):
        node = tab(p)
        if node.getRoleName() == role and node.name == name:
            return node
        passed.append(describe(node))
    raise ScenarioFailure(f"{most} presses of Tab did not reach {role} {name!r}; they went through {passed}")


def body(p):
    p.open_lesson(*lessons.HELLO)
    p.press("check box", "单词听写")
    p.find("text", "答案 1")

    # From here on the keyboard alone.
    node = tab_to(p, "text", "答案 1", 8)
    for place, number in enumerate(READING_ORDER):
        if node.name != f"答案 {number}":
            raise ScenarioFailure(f"Tab number {place} reached {describe(node)}, not 答案 {number}: "
                                  f"the answers should come row by row, {READING_ORDER}")
        p.xdotool("type", "--delay", "20", TYPED[number])
        wait_until(lambda: p.text_of(node) == TYPED[number], 5, f"{TYPED[number]!r} in 答案 {number}")
        node = tab(p)
    if describe(node) != "push button '开始'":
        raise ScenarioFailure(f"after the last answer Tab went to {describe(node)}, not to the operation bar")
    tab_to(p, "push button", "统计", 4)
    p.xdotool("key", "space")

    dialog = p.find("dialog", "统计提示", timeout=10)
    text = "\n".join(p.text_of(label) for label in p.find_all("label", within=dialog))
    if "答对个数:4 答错个数:2" not in text:
        raise ScenarioFailure(f"the counts dialog shows {text!r}, not four right and two wrong")
    wait_until(lambda: describe(focused(p)) == "push button '确定'", 5, "the dialog's button to have the focus")
    p.xdotool("key", "space")
    wait_until(lambda: not p.find_all("dialog", "统计提示"), 5, "the counts dialog to close")

    words = lessons.HELLO_DICTATION
    wanted = sorted(f"你的答案 {TYPED[n]}，正确答案 {words[n - 1]}" for n in (4, 5))
    def explained():
        return sorted(label.name for label in p.find_all("label", re.compile("^你的答案 ")))
    try:
        wait_until(lambda: explained() == wanted, 5, "the explanations under the misspelt answers")
    except ScenarioFailure:
        raise ScenarioFailure(f"the explanations read {explained()}, not {wanted}") from None


if __name__ == "__main__":
    sys.exit(run_scenario("dictation_keyboard", body, __doc__))
