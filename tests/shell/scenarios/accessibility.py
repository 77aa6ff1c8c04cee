"""Every control the pupil can use has a name a screen reader can say: the
start screen, then the first page of every study function of the demo lesson.
A button, edit, spinner, check box, slider, list or table cell with neither
a name nor a description fails the scenario."""

import sys
import time

import lessons
from player import ScenarioFailure, run_scenario, wait_until

USABLE = {"push button", "toggle button", "check box", "radio button", "text", "entry", "password text",
          "spin button", "slider", "list", "list item", "table cell", "tree item", "combo box", "menu item"}
# The column's functions after the word preview; the last three show movies,
# which take longer to draw.
FUNCTIONS = ("单词跟读", "单词听写", "句子跟读", "句子听辩", "角色互换", "课后练习", "音乐茶座", "动画欣赏", "游戏乐园")
MOVIES = ("音乐茶座", "动画欣赏", "游戏乐园")


def path_of(node):
    parts = []
    while node is not None and len(parts) < 6:
        parts.append(f"[{node.getRoleName()}] {node.name!r}")
        node = node.parent
    return " < ".join(parts)


def unnamed(p):
    return [path_of(n) for n in p.walk() if p.role(n) in USABLE and not (n.name or n.description)]


def body(p):
    wait_until(lambda: p.find_all("label", "请在左边的课本目录里选一课"), 20, "the start screen")
    places = {"the start screen": unnamed(p)}

    p.open_lesson(*lessons.HELLO)
    wait_until(lambda: lessons.HELLO_FIRST_WORD in p.texts("text"), 20, "the word preview")
    places["单词预习"] = unnamed(p)
    for function in FUNCTIONS:
        p.press("check box", function)
        time.sleep(4 if function in MOVIES else 1.5)
        places[function] = unnamed(p)

    p.press("push button", "学习记录")
    window = p.find("dialog", "学习记录", timeout=10)
    places["学习记录"] = unnamed(p)
    p.click(p.find("push button", "关闭", within=window))
    wait_until(lambda: not p.find_all("dialog", "学习记录"), 5, "the record window to close")

    failures = [f"{place}: {control}" for place, controls in places.items() for control in controls]
    if failures:
        raise ScenarioFailure("controls without a name or description:\n  " + "\n  ".join(failures))
    print(f"every control named in {len(places)} places")


if __name__ == "__main__":
    sys.exit(run_scenario("accessibility", body, __doc__))
